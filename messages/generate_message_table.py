#!/usr/bin/env python3
"""Generates messages/MessageTable.cpp, the three-language message table.

The table below is the source of the texts. Each cell of the generated C++ holds the text
twice: as a readable UTF-8 literal and as the escaped bytes the program shows (ASCII for
English, code page 936 for Simplified Chinese, code page 950 for Traditional Chinese).

To change a text, edit ROWS and rerun from the repository root:

    python3 messages/generate_message_table.py          # rewrites messages/MessageTable.cpp
    python3 messages/generate_message_table.py --check  # exits 1 if the .cpp is out of date

Row numbers are fixed: other code addresses rows 28, 44, 65, 66 and 73 by number, and the
platform's other camera tools use the rest, so rows are only ever changed in place.
"""

import pathlib
import sys

# (English, Simplified Chinese, Traditional Chinese), one entry per row, in row order.
ROWS = [
    # 0: names of the languages
    ("English", "简体中文", "繁體中文"),
    # 1
    ("Camera not found!", "未找到相机!", "未找到相機!"),
    ("Failed to open the camera!", "打开相机失败!", "打開相機失敗!"),
    ("Failed to close the camera!", "关闭相机失败!", "關閉相機失敗!"),
    ("The camera is being used by another program!", "相机正在被其他程序使用!", "相機正在被其他程序使用!"),
    ("Failed to start the video stream!", "启动视频流失败!", "啟動視頻流失敗!"),
    ("Failed to stop the video stream!", "停止视频流失败!", "停止視頻流失敗!"),
    ("Failed to capture the image!", "抓取图像失败!", "抓取圖像失敗!"),
    ("Please select a save path!", "请选择保存路径!", "請選擇保存路徑!"),
    ("Failed to save the image!", "保存图像失败!", "保存圖像失敗!"),
    # 10
    ("Image saved successfully!", "图像保存成功!", "圖像保存成功!"),
    ("Failed to start recording!", "开始录像失败!", "開始錄像失敗!"),
    ("Recording finished!", "录像完成!", "錄像完成!"),
    ("Not enough disk space!", "磁盘空间不足!", "磁盤空間不足!"),
    ("The file name is invalid!", "文件名无效!", "文件名無效!"),
    ("The file already exists, overwrite it?", "文件已存在，是否覆盖?", "文件已存在，是否覆蓋?"),
    ("Failed to load the parameters!", "加载参数失败!", "加載參數失敗!"),
    ("Failed to save the parameters!", "保存参数失败!", "保存參數失敗!"),
    ("Parameters saved successfully!", "参数保存成功!", "參數保存成功!"),
    ("The parameter file is damaged!", "参数文件已损坏!", "參數文件已損壞!"),
    # 20
    ("Failed to restore the default parameters!", "恢复默认参数失败!", "恢復默認參數失敗!"),
    ("The exposure time is out of range!", "曝光时间超出范围!", "曝光時間超出範圍!"),
    ("The gain is out of range!", "增益超出范围!", "增益超出範圍!"),
    ("The resolution is not supported!", "不支持该分辨率!", "不支持該分辨率!"),
    ("Failed to set the resolution!", "设置分辨率失败!", "設置分辨率失敗!"),
    ("Failed to set the frame rate!", "设置帧率失败!", "設置幀率失敗!"),
    ("Auto white balance failed!", "自动白平衡失败!", "自動白平衡失敗!"),
    ("The camera has been disconnected!", "相机已断开连接!", "相機已斷開連接!"),
    # 28: text of a failed system call; "%d" receives the system error number
    ("Operation failed! Error code:%d", "操作失败，错误码:%d", "操作失敗，錯誤碼:%d"),
    ("The camera has been reconnected!", "相机已重新连接!", "相機已重新連接!"),
    # 30
    ("Failed to read the camera information!", "读取相机信息失败!", "讀取相機信息失敗!"),
    ("Failed to write the camera information!", "写入相机信息失败!", "寫入相機信息失敗!"),
    ("Please select a firmware file!", "请选择固件文件!", "請選擇固件文件!"),
    ("The firmware file does not match this camera!", "固件文件与该相机不匹配!", "固件文件與該相機不匹配!"),
    ("Firmware upgrade failed!", "固件升级失败!", "固件升級失敗!"),
    ("Firmware upgrade succeeded, please restart the camera!", "固件升级成功，请重启相机!", "固件升級成功，請重啟相機!"),
    ("Do not disconnect the camera during the upgrade!", "升级过程中请勿断开相机!", "升級過程中請勿斷開相機!"),
    ("Failed to set the camera name!", "设置相机名称失败!", "設置相機名稱失敗!"),
    ("The camera name is too long!", "相机名称过长!", "相機名稱過長!"),
    ("Failed to set the IP address!", "设置IP地址失败!", "設置IP地址失敗!"),
    # 40
    ("The IP address is invalid!", "IP地址无效!", "IP地址無效!"),
    ("The IP address is already in use!", "IP地址已被使用!", "IP地址已被使用!"),
    ("The camera and the network adapter are not in the same subnet!", "相机与网卡不在同一网段!", "相機與網卡不在同一網段!"),
    ("Please enable jumbo frames on the network adapter!", "请在网卡上开启巨型帧!", "請在網卡上開啟巨型幀!"),
    # 44: caption of every error message box
    ("Error", "错误", "錯誤"),
    ("Packet loss detected, please check the network!", "检测到丢包，请检查网络!", "檢測到丟包，請檢查網絡!"),
    ("Trigger mode is on, waiting for a trigger signal!", "已开启触发模式，等待触发信号!", "已開啟觸發模式，等待觸發信號!"),
    ("Software trigger failed!", "软件触发失败!", "軟件觸發失敗!"),
    ("Image acquisition timed out!", "图像采集超时!", "圖像採集超時!"),
    ("Failed to allocate memory!", "内存分配失败!", "內存分配失敗!"),
    # 50
    ("The USB bandwidth is not enough, please lower the frame rate!", "USB带宽不足，请降低帧率!", "USB帶寬不足，請降低幀率!"),
    ("Please connect the camera to a USB 3.0 port!", "请将相机连接到USB 3.0接口!", "請將相機連接到USB 3.0接口!"),
    ("The camera driver is not installed!", "相机驱动未安装!", "相機驅動未安裝!"),
    ("The camera driver is too old, please update it!", "相机驱动版本过低，请更新驱动!", "相機驅動版本過低，請更新驅動!"),
    ("Failed to load the calibration file!", "加载标定文件失败!", "加載標定文件失敗!"),
    ("Calibration succeeded!", "标定成功!", "標定成功!"),
    ("Calibration failed!", "标定失败!", "標定失敗!"),
    ("Failed to load the lens shading correction data!", "加载镜头阴影校正数据失败!", "加載鏡頭陰影校正數據失敗!"),
    ("Dead pixel correction failed!", "坏点校正失败!", "壞點校正失敗!"),
    ("Please select a region of interest!", "请选择感兴趣区域!", "請選擇感興趣區域!"),
    # 60
    ("The region of interest is out of range!", "感兴趣区域超出范围!", "感興趣區域超出範圍!"),
    ("Failed to open the file!", "打开文件失败!", "打開文件失敗!"),
    ("The file format is not supported!", "不支持该文件格式!", "不支持該文件格式!"),
    ("Failed to create the directory!", "创建目录失败!", "創建目錄失敗!"),
    ("Access denied, please run the program as administrator!", "访问被拒绝，请以管理员身份运行程序!", "訪問被拒絕，請以管理員身份運行程序!"),
    # 65: a required system function cannot be loaded
    ("System api load failed!Please contact us.", "系统函数加载失败，请联系技术支持!", "系統函數加載失敗，請聯系技術支持!"),
    # 66: text of the final success message
    (
        "Installation is successful,you can connect the camera to the computer and install the driver for the"
        " camera. If the camera has already been connected to the computer,re-connect it!thanks for your use!",
        "安装成功，请连接相机进行驱动安装。如果当前主机已经连接了相机，请重启相机或者拔掉连接线再次插上。感谢您的使用!",
        "安裝成功，請連接相機進行驅動安裝。如果當前主機已經連接了相機，請重啟相機或者拔掉連接線再次插上。感謝您的使用!",
    ),
    ("Uninstallation is successful!", "卸载成功!", "卸載成功!"),
    ("Uninstallation failed!", "卸载失败!", "卸載失敗!"),
    ("Please close all camera programs before installing!", "安装前请关闭所有相机程序!", "安裝前請關閉所有相機程序!"),
    # 70
    ("The installation package is incomplete!", "安装包不完整!", "安裝包不完整!"),
    ("This operating system is not supported!", "不支持当前操作系统!", "不支持當前操作系統!"),
    ("Please restart the computer to complete the installation!", "请重启电脑以完成安装!", "請重啟電腦以完成安裝!"),
    # 73: first line of the failure report of the registration run
    (
        "Product registration failed, some system resources are locked, please turn off the firewall software,"
        " restart the computer and then run the installation program again.",
        "产品注册失败，某些系统资源被锁定，请关闭防火墙软件，重启电脑后再运行安装程序。",
        "產品注冊失敗，某些系統資源被鎖定，請關閉防火墻軟件，重啟電腦后再運行安裝程序。",
    ),
    ("Driver installation failed!", "驱动安装失败!", "驅動安裝失敗!"),
    ("Driver installation is successful!", "驱动安装成功!", "驅動安裝成功!"),
    ("Failed to register the component!", "注册组件失败!", "注冊組件失敗!"),
    ("Failed to write the registry!", "写入注册表失败!", "寫入注冊表失敗!"),
    ("Failed to read the registry!", "读取注册表失败!", "讀取注冊表失敗!"),
    ("Failed to copy the file!", "复制文件失败!", "複製文件失敗!"),
    # 80
    ("The license has expired, please contact us!", "授权已过期，请联系技术支持!", "授權已過期，請聯系技術支持!"),
    ("The license is invalid!", "授权无效!", "授權無效!"),
    ("Please enter the serial number!", "请输入序列号!", "請輸入序列號!"),
    ("Are you sure you want to exit?", "确定要退出吗?", "確定要退出嗎?"),
    ("Are you sure you want to restore the default settings?", "确定要恢复默认设置吗?", "確定要恢復默認設置嗎?"),
    ("The camera does not support this function!", "相机不支持该功能!", "相機不支持該功能!"),
    ("%d camera(s) found!", "找到%d台相机!", "找到%d台相機!"),
    ("Failed to enumerate the cameras!", "枚举相机失败!", "枚舉相機失敗!"),
    ("The camera is not responding, please reconnect it!", "相机无响应，请重新连接!", "相機無響應，請重新連接!"),
    ("Please stop the video stream first!", "请先停止视频流!", "請先停止視頻流!"),
    # 90
    ("The new language takes effect after the program restarts!", "语言设置将在重启程序后生效!", "語言設置將在重啟程序後生效!"),
    ("Thanks for your use!", "感谢您的使用!", "感謝您的使用!"),
]

ROW_COUNT = 92
# Column order of the table and the code page of each column's stored bytes.
CODECS = ("ascii", "gbk", "cp950")
HEX_DIGITS = set("0123456789abcdefABCDEF")


def c_escape_readable(text: str) -> str:
    """A C++ literal body for UTF-8 source text: only quote and backslash need escaping."""
    for ch in text:
        if ch < " " or ch == "\x7f":
            raise ValueError(f"control character in {text!r}")
    return text.replace("\\", "\\\\").replace('"', '\\"')


def c_literal_for_stored(text: str, codec: str) -> str:
    """One or more adjacent C++ literals holding text encoded in codec.

    Single-byte ASCII characters stay readable; every byte of a multibyte character is a hex
    escape (their trail bytes may fall in the ASCII range, even on a backslash). A hex escape
    swallows every hex digit after it, so where an escape would be followed by a hex digit the
    literal is closed and a new one opened ("\\xb2" "abc").
    """
    out = ['"']
    after_escape = False
    for ch in text:
        data = encode_cell(ch, codec)
        if len(data) == 1 and " " <= ch <= "~":
            if after_escape and ch in HEX_DIGITS:
                out.append('" "')
            after_escape = False
            out.append("\\" + ch if ch in '"\\' else ch)
        else:
            out.extend(f"\\x{byte:02x}" for byte in data)
            after_escape = True
    out.append('"')
    return "".join(out)


def encode_cell(text: str, codec: str) -> bytes:
    data = text.encode(codec)  # raises if a character has no mapping in the code page
    if data.decode(codec) != text:
        raise ValueError(f"{text!r} does not survive {codec}")
    if b"\0" in data:
        raise ValueError(f"NUL byte in {text!r} as {codec}")
    return data


def render() -> str:
    if len(ROWS) != ROW_COUNT:
        raise SystemExit(f"ROWS has {len(ROWS)} rows, the table needs {ROW_COUNT}")
    lines = [
        "// Generated by messages/generate_message_table.py from its ROWS table; do not edit by hand.",
        "// Change a text there and rerun: python3 messages/generate_message_table.py",
        "//",
        "// Each cell is {readable UTF-8, stored bytes}; stored bytes are ASCII (English), code page 936",
        "// (Simplified Chinese) or code page 950 (Traditional Chinese).",
        '#include "messages/MessageTable.h"',
        "",
        "namespace messages {",
        "",
        "int LanguageIndex = -1;",
        "",
        "// clang-format off",
        "constexpr std::array<MessageRow, kMessageRowCount> MessageTable = {{",
    ]
    for number, row in enumerate(ROWS):
        if len(row) != len(CODECS) or any(not text for text in row):
            raise SystemExit(f"row {number} needs three non-empty texts")
        cells = []
        for text, codec in zip(row, CODECS):
            stored = c_literal_for_stored(text, codec)
            if codec == "ascii" and stored != f'"{c_escape_readable(text)}"':
                raise SystemExit(f"row {number}: the English text must be printable ASCII")
            cells.append(f'{{"{c_escape_readable(text)}", {stored}}}')
        lines.append(f"    // {number}")
        lines.append(f"    {{{{{cells[0]},")
        lines.append(f"      {cells[1]},")
        lines.append(f"      {cells[2]}}}}},")
    lines += [
        "}};",
        "// clang-format on",
        "",
        "}  // namespace messages",
        "",
    ]
    return "\n".join(lines)


def main() -> int:
    target = pathlib.Path(__file__).resolve().parent / "MessageTable.cpp"
    text = render()
    if sys.argv[1:] == ["--check"]:
        if not target.exists() or target.read_text(encoding="utf-8") != text:
            print(f"{target} is out of date; rerun {pathlib.Path(__file__).name}", file=sys.stderr)
            return 1
        return 0
    if sys.argv[1:]:
        print(__doc__, file=sys.stderr)
        return 2
    target.write_text(text, encoding="utf-8", newline="\n")
    return 0


if __name__ == "__main__":
    sys.exit(main())
