/* devnodes: plants and lists device nodes for the end-to-end tests of the USB driver step.
 *
 *   devnodes plant INSTANCE-ID [HARDWARE-ID]  creates and registers a device node with this instance
 *                                             identifier (and hardware identifier), in the USB class
 *   devnodes list                             prints the instance identifier of every device node of
 *                                             every class, present or not, one a line
 *
 * Exit status 0 on success, 1 when Windows refused (the error is printed), 2 on bad use. */
#include <windows.h>
/* after windows.h */
#include <cfgmgr32.h>
#include <setupapi.h>
#include <stdio.h>
#include <string.h>

/* GUID_DEVCLASS_USB */
static const GUID kUsbClass = {0x36fc9e60, 0xc465, 0x11cf, {0x80, 0x56, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};

static int Refused(const char* call) {
  printf("%s failed: error 0x%08lX\n", call, GetLastError());
  return 1;
}

static int Plant(const char* instanceId, const char* hardwareId) {
  HDEVINFO set = SetupDiCreateDeviceInfoList(&kUsbClass, NULL);
  if (set == INVALID_HANDLE_VALUE) return Refused("SetupDiCreateDeviceInfoList");
  SP_DEVINFO_DATA device;
  device.cbSize = sizeof(device);
  int status = 0;
  if (!SetupDiCreateDeviceInfoA(set, instanceId, &kUsbClass, NULL, NULL, 0, &device)) {
    status = Refused("SetupDiCreateDeviceInfoA");
  } else {
    /* A REG_MULTI_SZ: the identifier, its NUL and the list's closing NUL. */
    char ids[MAX_DEVICE_ID_LEN + 2] = {0};
    const size_t length = strlen(hardwareId);
    if (length < MAX_DEVICE_ID_LEN) memcpy(ids, hardwareId, length);
    if (!SetupDiSetDeviceRegistryPropertyA(set, &device, SPDRP_HARDWAREID, (const BYTE*)ids, (DWORD)(length + 2))) {
      status = Refused("SetupDiSetDeviceRegistryPropertyA");
    } else if (!SetupDiRegisterDeviceInfo(set, &device, 0, NULL, NULL, NULL)) {
      status = Refused("SetupDiRegisterDeviceInfo");
    }
  }
  SetupDiDestroyDeviceInfoList(set);
  return status;
}

static int List(void) {
  HDEVINFO set = SetupDiGetClassDevsA(NULL, NULL, NULL, DIGCF_ALLCLASSES);
  if (set == INVALID_HANDLE_VALUE) return Refused("SetupDiGetClassDevsA");
  SP_DEVINFO_DATA device;
  device.cbSize = sizeof(device);
  for (DWORD index = 0; SetupDiEnumDeviceInfo(set, index, &device); ++index) {
    char id[MAX_DEVICE_ID_LEN + 1];
    if (CM_Get_Device_IDA(device.DevInst, id, sizeof(id), 0) == CR_SUCCESS) printf("%s\n", id);
  }
  SetupDiDestroyDeviceInfoList(set);
  return 0;
}

int main(int argc, char** argv) {
  if (argc >= 3 && strcmp(argv[1], "plant") == 0) return Plant(argv[2], argc >= 4 ? argv[3] : argv[2]);
  if (argc == 2 && strcmp(argv[1], "list") == 0) return List();
  printf("usage: devnodes plant INSTANCE-ID [HARDWARE-ID] | devnodes list\n");
  return 2;
}
