// calvant-rebrand: shows or changes the company name and the driver base name of a built calvant.exe.
//
//   calvant-rebrand PROGRAM                                   show both names
//   calvant-rebrand PROGRAM [--company NAME] [--driver NAME] [--output COPY]
//                                                             write new names, into COPY or in place
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "tools/rebrand/BrandPatch.h"

namespace {

struct Request {
  std::string program;
  std::optional<std::string> company;
  std::optional<std::string> driver;
  std::optional<std::string> output;
};

constexpr const char* kUsage =
    "usage: calvant-rebrand PROGRAM [--company NAME] [--driver NAME] [--output COPY]\n"
    "Shows the company name and the driver base name of a built program; with --company or --driver,\n"
    "writes new ones into COPY, or into PROGRAM itself without --output.\n";

std::optional<Request> ParseArguments(int argc, char** argv) {
  Request request;
  for (int at = 1; at < argc; ++at) {
    const std::string argument = argv[at];
    std::optional<std::string>* option = argument == "--company"  ? &request.company
                                         : argument == "--driver" ? &request.driver
                                         : argument == "--output" ? &request.output
                                                                  : nullptr;
    if (option != nullptr) {
      if (at + 1 >= argc || option->has_value()) return std::nullopt;
      *option = argv[++at];
    } else if (request.program.empty() && argument.rfind("--", 0) != 0) {
      request.program = argument;
    } else {
      return std::nullopt;
    }
  }
  if (request.program.empty() || (request.output && !request.company && !request.driver)) return std::nullopt;
  return request;
}

std::optional<rebrand::Bytes> ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  rebrand::Bytes bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) return std::nullopt;
  return bytes;
}

// Writes beside the target and then replaces it, so that the target is never left half-written.
bool ReplaceFile(const std::string& target, const rebrand::Bytes& bytes) {
  const std::filesystem::path finalPath(target);
  std::filesystem::path temporary = finalPath;
  temporary += ".rebrand-tmp";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
      std::error_code ignored;
      std::filesystem::remove(temporary, ignored);
      return false;
    }
  }
  std::error_code renameError;
  std::filesystem::rename(temporary, finalPath, renameError);
  if (!renameError) return true;
  std::error_code ignored;
  std::filesystem::remove(temporary, ignored);
  return false;
}

struct Field {
  const char* label;
  const app::BrandMarker& marker;
  const std::optional<std::string>& replacement;
};

}  // namespace

int main(int argc, char** argv) {
  const std::optional<Request> request = ParseArguments(argc, argv);
  if (!request) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  std::optional<rebrand::Bytes> file = ReadWholeFile(request->program);
  if (!file) {
    std::fprintf(stderr, "calvant-rebrand: cannot read %s\n", request->program.c_str());
    return 1;
  }

  const Field fields[] = {{"company name", app::kCompanyNameMarker, request->company},
                          {"driver base name", app::kDriverBaseNameMarker, request->driver}};
  bool changing = false;
  for (const Field& field : fields) {
    const rebrand::FieldLocation location = rebrand::LocateField(*file, field.marker);
    if (!location.error.empty()) {
      std::fprintf(stderr, "calvant-rebrand: %s: %s field: %s\n", request->program.c_str(), field.label,
                   location.error.c_str());
      return 1;
    }
    if (!field.replacement) {
      std::printf("%s: %s\n", field.label, rebrand::ReadField(*file, location.offset).c_str());
      continue;
    }
    if (const std::string problem = rebrand::CheckBrandText(*field.replacement); !problem.empty()) {
      std::fprintf(stderr, "calvant-rebrand: %s \"%s\": %s\n", field.label, field.replacement->c_str(),
                   problem.c_str());
      return 1;
    }
    std::printf("%s: %s -> %s\n", field.label, rebrand::ReadField(*file, location.offset).c_str(),
                field.replacement->c_str());
    rebrand::WriteField(*file, location.offset, *field.replacement);
    changing = true;
  }
  if (!changing) return 0;

  const std::string target = request->output.value_or(request->program);
  if (!ReplaceFile(target, *file)) {
    std::fprintf(stderr, "calvant-rebrand: cannot write %s; nothing was changed\n", target.c_str());
    return 1;
  }
  std::printf("written: %s\n", target.c_str());
  return 0;
}
