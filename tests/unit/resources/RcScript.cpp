#include "RcScript.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <map>
#include <regex>
#include <set>
#include <sstream>

#include "TextSupport.h"

namespace restest {
namespace {

// Names the script takes from the Windows headers, with their documented values.
const std::map<std::string, std::int64_t>& WindowsNames() {
  static const std::map<std::string, std::int64_t> names{
      // Window and dialog styles
      {"WS_OVERLAPPED", 0x00000000},
      {"WS_POPUP", 0x80000000},
      {"WS_CHILD", 0x40000000},
      {"WS_MINIMIZE", 0x20000000},
      {"WS_VISIBLE", 0x10000000},
      {"WS_DISABLED", 0x08000000},
      {"WS_CLIPSIBLINGS", 0x04000000},
      {"WS_CLIPCHILDREN", 0x02000000},
      {"WS_MAXIMIZE", 0x01000000},
      {"WS_CAPTION", 0x00C00000},
      {"WS_BORDER", 0x00800000},
      {"WS_DLGFRAME", 0x00400000},
      {"WS_VSCROLL", 0x00200000},
      {"WS_HSCROLL", 0x00100000},
      {"WS_SYSMENU", 0x00080000},
      {"WS_THICKFRAME", 0x00040000},
      {"WS_GROUP", 0x00020000},
      {"WS_TABSTOP", 0x00010000},
      {"WS_MINIMIZEBOX", 0x00020000},
      {"WS_MAXIMIZEBOX", 0x00010000},
      {"WS_EX_DLGMODALFRAME", 0x00000001},
      {"WS_EX_TOPMOST", 0x00000008},
      {"WS_EX_TOOLWINDOW", 0x00000080},
      {"WS_EX_CLIENTEDGE", 0x00000200},
      {"WS_EX_CONTEXTHELP", 0x00000400},
      {"WS_EX_APPWINDOW", 0x00040000},
      {"DS_ABSALIGN", 0x01},
      {"DS_SYSMODAL", 0x02},
      {"DS_3DLOOK", 0x04},
      {"DS_FIXEDSYS", 0x08},
      {"DS_NOFAILCREATE", 0x10},
      {"DS_LOCALEDIT", 0x20},
      {"DS_SETFONT", 0x40},
      {"DS_MODALFRAME", 0x80},
      {"DS_NOIDLEMSG", 0x100},
      {"DS_SETFOREGROUND", 0x200},
      {"DS_CONTROL", 0x400},
      {"DS_CENTER", 0x800},
      {"DS_CENTERMOUSE", 0x1000},
      {"DS_CONTEXTHELP", 0x2000},
      {"DS_SHELLFONT", 0x48},
      // Control styles
      {"BS_PUSHBUTTON", 0x0},
      {"BS_DEFPUSHBUTTON", 0x1},
      {"BS_CHECKBOX", 0x2},
      {"BS_AUTOCHECKBOX", 0x3},
      {"BS_RADIOBUTTON", 0x4},
      {"BS_GROUPBOX", 0x7},
      {"BS_AUTORADIOBUTTON", 0x9},
      {"SS_LEFT", 0x0},
      {"SS_CENTER", 0x1},
      {"SS_RIGHT", 0x2},
      {"SS_ICON", 0x3},
      {"SS_NOPREFIX", 0x80},
      {"SS_REALSIZEIMAGE", 0x800},
      {"SS_CENTERIMAGE", 0x200},
      // Dialog and control ids
      {"IDOK", 1},
      {"IDCANCEL", 2},
      {"IDC_STATIC", -1},
      // Languages
      {"LANG_NEUTRAL", 0x00},
      {"LANG_CHINESE", 0x04},
      {"LANG_ENGLISH", 0x09},
      {"SUBLANG_NEUTRAL", 0x00},
      {"SUBLANG_DEFAULT", 0x01},
      {"SUBLANG_ENGLISH_US", 0x01},
      {"SUBLANG_CHINESE_TRADITIONAL", 0x01},
      {"SUBLANG_CHINESE_SIMPLIFIED", 0x02},
      // Resource types and ids
      {"RT_MANIFEST", 24},
      {"CREATEPROCESS_MANIFEST_RESOURCE_ID", 1},
      {"ISOLATIONAWARE_MANIFEST_RESOURCE_ID", 2},
      {"VS_VERSION_INFO", 1},
      // Version block
      {"VS_FFI_FILEFLAGSMASK", 0x3F},
      {"VS_FF_DEBUG", 0x1},
      {"VS_FF_PRERELEASE", 0x2},
      {"VOS_UNKNOWN", 0x0},
      {"VOS_NT", 0x40000},
      {"VOS__WINDOWS32", 0x4},
      {"VOS_NT_WINDOWS32", 0x40004},
      {"VFT_UNKNOWN", 0x0},
      {"VFT_APP", 0x1},
      {"VFT_DLL", 0x2},
      {"VFT2_UNKNOWN", 0x0},
  };
  return names;
}

enum class TokenKind { Identifier, Number, String, Punct, End };

struct Token {
  TokenKind kind = TokenKind::End;
  std::string text;  // identifier, punctuation, or the string's decoded contents
  std::int64_t number = 0;
  int line = 0;
};

std::string Located(const std::string& file, int line, const std::string& message) {
  return file + ":" + std::to_string(line) + ": " + message;
}

// Replaces comments by spaces, keeping line breaks and string literals.
std::string StripComments(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    char c = text[i];
    if (c == '"') {
      size_t end = i + 1;
      while (end < text.size() && text[end] != '\n') {
        if (text[end] == '"') {
          if (end + 1 < text.size() && text[end + 1] == '"') {
            end += 2;
            continue;
          }
          break;
        }
        if (text[end] == '\\' && end + 1 < text.size()) ++end;
        ++end;
      }
      out.append(text, i, end + 1 - i);
      i = end + 1;
    } else if (c == '/' && i + 1 < text.size() && text[i + 1] == '/') {
      while (i < text.size() && text[i] != '\n') ++i;
    } else if (c == '/' && i + 1 < text.size() && text[i + 1] == '*') {
      size_t end = text.find("*/", i + 2);
      if (end == std::string::npos) end = text.size();
      for (size_t j = i; j < end; ++j) out.push_back(text[j] == '\n' ? '\n' : ' ');
      i = std::min(end + 2, text.size());
    } else {
      out.push_back(c);
      ++i;
    }
  }
  return out;
}

class Lexer {
 public:
  Lexer(std::string text, std::string file) : text_(std::move(text)), file_(std::move(file)) {}

  std::vector<Token> Tokenize() {
    std::vector<Token> tokens;
    while (true) {
      Token token = Next();
      tokens.push_back(token);
      if (token.kind == TokenKind::End) return tokens;
    }
  }

 private:
  Token Next() {
    while (pos_ < text_.size() && std::isspace(static_cast<unsigned char>(text_[pos_]))) {
      if (text_[pos_] == '\n') ++line_;
      ++pos_;
    }
    Token token;
    token.line = line_;
    if (pos_ >= text_.size()) return token;
    char c = text_[pos_];
    if (c == 'L' && pos_ + 1 < text_.size() && text_[pos_ + 1] == '"') c = text_[++pos_];
    if (c == '"') return String(token);
    if (std::isdigit(static_cast<unsigned char>(c))) return Number(token);
    if (std::isalpha(static_cast<unsigned char>(c)) || c == '_') {
      size_t start = pos_;
      while (pos_ < text_.size() && (std::isalnum(static_cast<unsigned char>(text_[pos_])) || text_[pos_] == '_')) {
        ++pos_;
      }
      token.kind = TokenKind::Identifier;
      token.text = text_.substr(start, pos_ - start);
      return token;
    }
    if (std::string_view(",|()-+~{}").find(c) != std::string_view::npos) {
      ++pos_;
      token.kind = TokenKind::Punct;
      token.text = std::string(1, c);
      return token;
    }
    throw RcParseError(Located(file_, line_, std::string("unexpected character '") + c + "'"));
  }

  Token String(Token token) {
    token.kind = TokenKind::String;
    ++pos_;
    while (true) {
      if (pos_ >= text_.size() || text_[pos_] == '\n') {
        throw RcParseError(Located(file_, token.line, "unterminated string"));
      }
      char c = text_[pos_++];
      if (c == '"') {
        if (pos_ < text_.size() && text_[pos_] == '"') {
          token.text.push_back('"');
          ++pos_;
          continue;
        }
        return token;
      }
      if (c == '\\' && pos_ < text_.size()) {
        char e = text_[pos_++];
        switch (e) {
          case 'n':
            token.text.push_back('\n');
            break;
          case 't':
            token.text.push_back('\t');
            break;
          case 'r':
            token.text.push_back('\r');
            break;
          case 'a':  // the resource compiler's right-alignment mark in menus, stored as 0x08
            token.text.push_back('\b');
            break;
          case '\\':
            token.text.push_back('\\');
            break;
          default:
            throw RcParseError(Located(file_, token.line, std::string("unsupported escape \\") + e));
        }
        continue;
      }
      token.text.push_back(c);
    }
  }

  Token Number(Token token) {
    size_t start = pos_;
    int base = 10;
    if (text_[pos_] == '0' && pos_ + 1 < text_.size() && (text_[pos_ + 1] == 'x' || text_[pos_ + 1] == 'X')) {
      base = 16;
      pos_ += 2;
      start = pos_;
    }
    while (pos_ < text_.size() && std::isxdigit(static_cast<unsigned char>(text_[pos_]))) {
      if (base == 10 && !std::isdigit(static_cast<unsigned char>(text_[pos_]))) break;
      ++pos_;
    }
    if (pos_ == start) throw RcParseError(Located(file_, line_, "malformed number"));
    token.kind = TokenKind::Number;
    token.number = std::stoll(text_.substr(start, pos_ - start), nullptr, base);
    while (pos_ < text_.size() &&
           (text_[pos_] == 'L' || text_[pos_] == 'l' || text_[pos_] == 'U' || text_[pos_] == 'u')) {
      ++pos_;
    }
    if (pos_ < text_.size() && std::isalnum(static_cast<unsigned char>(text_[pos_]))) {
      throw RcParseError(Located(file_, line_, "malformed number"));
    }
    return token;
  }

  std::string text_;
  std::string file_;
  size_t pos_ = 0;
  int line_ = 1;
};

// Runs the preprocessor directives of one file: collects #defines (also from included project
// headers), evaluates #ifdef/#ifndef/#else/#endif and returns the text that remains, with every
// directive and skipped line blanked so that line numbers stay right.
class Preprocessor {
 public:
  std::map<std::string, std::vector<Token>> defines;
  std::optional<unsigned> codePage;

  std::string Run(const std::string& utf8Text, const std::string& file) {
    std::istringstream lines(StripComments(utf8Text));
    std::string line;
    std::string out;
    std::vector<bool> active;  // one entry per open conditional
    int number = 0;
    while (std::getline(lines, line)) {
      ++number;
      size_t first = line.find_first_not_of(" \t\r");
      bool live = std::find(active.begin(), active.end(), false) == active.end();
      if (first != std::string::npos && line[first] == '#') {
        Directive(line.substr(first + 1), file, number, active, live);
        out += '\n';
        continue;
      }
      out += live ? line : std::string();
      out += '\n';
    }
    if (!active.empty()) throw RcParseError(Located(file, number, "missing #endif"));
    return out;
  }

  bool IsDefined(const std::string& name) const { return defines.count(name) != 0 || WindowsNames().count(name) != 0; }

 private:
  void Directive(const std::string& body, const std::string& file, int line, std::vector<bool>& active, bool live) {
    static const std::regex directive(R"(^\s*(\w+)\s*(.*?)\s*$)");
    std::smatch match;
    if (!std::regex_match(body, match, directive)) throw RcParseError(Located(file, line, "malformed directive"));
    std::string name = match[1];
    std::string rest = match[2];
    if (name == "endif") {
      if (active.empty()) throw RcParseError(Located(file, line, "#endif without #if"));
      active.pop_back();
      return;
    }
    if (name == "else") {
      if (active.empty()) throw RcParseError(Located(file, line, "#else without #if"));
      active.back() = !active.back();
      return;
    }
    if (name == "ifdef" || name == "ifndef") {
      active.push_back(IsDefined(rest) == (name == "ifdef"));
      return;
    }
    if (!live) return;
    if (name == "pragma") {
      static const std::regex codePagePragma(R"(^code_page\s*\(\s*(\d+)\s*\)$)");
      std::smatch page;
      if (std::regex_match(rest, page, codePagePragma)) {
        codePage = static_cast<unsigned>(std::stoul(page[1]));
      } else if (rest != "once") {
        throw RcParseError(Located(file, line, "unsupported #pragma " + rest));
      }
    } else if (name == "include") {
      if (rest.size() >= 2 && rest.front() == '<' && rest.back() == '>') return;  // Windows header: WindowsNames()
      if (rest.size() < 2 || rest.front() != '"' || rest.back() != '"') {
        throw RcParseError(Located(file, line, "malformed #include"));
      }
      std::filesystem::path header = std::filesystem::path(file).parent_path() / rest.substr(1, rest.size() - 2);
      std::string headerText = ReadFileBytes(header.string());
      Run(headerText, header.string());
    } else if (name == "define") {
      static const std::regex define(R"(^(\w+)\s*(.*)$)");
      std::smatch parts;
      if (!std::regex_match(rest, parts, define)) throw RcParseError(Located(file, line, "malformed #define"));
      std::vector<Token> tokens = Lexer(parts[2], file).Tokenize();
      tokens.pop_back();  // End
      defines[parts[1]] = tokens;
    } else if (name == "undef") {
      defines.erase(rest);
    } else {
      throw RcParseError(Located(file, line, "unsupported #" + name));
    }
  }
};

class Parser {
 public:
  Parser(std::vector<Token> tokens, const Preprocessor& preprocessor, std::string file)
      : tokens_(std::move(tokens)), pre_(preprocessor), file_(std::move(file)) {}

  void Parse(RcScript& script) {
    while (Peek().kind != TokenKind::End) {
      if (IsKeyword("LANGUAGE")) {
        Next();
        language_ = ParseLanguage();
        script.languageStatements.push_back(language_);
      } else if (IsKeyword("STRINGTABLE")) {
        Next();
        ParseStringTable(script);
      } else {
        ParseNamedResource(script);
      }
    }
  }

 private:
  const Token& Peek(size_t ahead = 0) const { return tokens_[std::min(pos_ + ahead, tokens_.size() - 1)]; }
  const Token& Next() {
    const Token& token = Peek();
    if (pos_ < tokens_.size() - 1) ++pos_;
    return token;
  }
  bool IsKeyword(const char* keyword, size_t ahead = 0) const {
    return Peek(ahead).kind == TokenKind::Identifier && Peek(ahead).text == keyword;
  }
  bool IsPunct(char c) const { return Peek().kind == TokenKind::Punct && Peek().text == std::string(1, c); }
  bool IsBegin() const { return IsKeyword("BEGIN") || IsPunct('{'); }
  bool IsEnd() const { return IsKeyword("END") || IsPunct('}'); }

  [[noreturn]] void Fail(const std::string& message) const { throw RcParseError(Located(file_, Peek().line, message)); }

  void ExpectBegin() {
    if (!IsBegin()) Fail("expected BEGIN");
    Next();
  }
  void ExpectComma() {
    if (!IsPunct(',')) Fail("expected ','");
    Next();
  }
  void SkipComma() {
    if (IsPunct(',')) Next();
  }
  std::string ExpectString() {
    if (Peek().kind != TokenKind::String) Fail("expected a string");
    return Next().text;
  }

  // Memory options that old scripts put after the resource type; they have no effect.
  void SkipMemoryOptions() {
    static const std::set<std::string> options{"DISCARDABLE", "MOVEABLE", "FIXED",     "PURE",
                                               "IMPURE",      "PRELOAD",  "LOADONCALL"};
    while (Peek().kind == TokenKind::Identifier && options.count(Peek().text)) Next();
  }

  std::int64_t Resolve(const std::string& name, int depth = 0) {
    if (depth > 16) Fail("recursive #define of " + name);
    auto define = pre_.defines.find(name);
    if (define != pre_.defines.end()) {
      Parser inner(define->second, pre_, file_);
      inner.tokens_.push_back(Token{});
      std::int64_t value = inner.ParseValue(depth + 1);
      if (inner.Peek().kind != TokenKind::End) Fail("#define " + name + " is not a number");
      return value;
    }
    auto known = WindowsNames().find(name);
    if (known != WindowsNames().end()) return known->second;
    Fail("unknown name " + name);
  }

  std::int64_t ParsePrimary(int depth = 0) {
    if (IsPunct('-')) {
      Next();
      return -ParsePrimary(depth);
    }
    if (IsPunct('~')) {
      Next();
      return ~ParsePrimary(depth);
    }
    if (IsPunct('(')) {
      Next();
      std::int64_t value = ParseValue(depth);
      if (!IsPunct(')')) Fail("expected ')'");
      Next();
      return value;
    }
    if (Peek().kind == TokenKind::Number) return Next().number;
    if (Peek().kind == TokenKind::Identifier) return Resolve(Next().text, depth);
    Fail("expected a number");
  }

  std::int64_t ParseValue(int depth = 0) {
    std::int64_t value = ParsePrimary(depth);
    while (IsPunct('|') || IsPunct('+') || (IsPunct('-'))) {
      char op = Next().text[0];
      std::int64_t right = ParsePrimary(depth);
      value = op == '|' ? (value | right) : op == '+' ? value + right : value - right;
    }
    return value;
  }

  int ParseInt() { return static_cast<int>(ParseValue()); }
  std::uint32_t ParseUint() { return static_cast<std::uint32_t>(ParseValue()); }

  RcStyle ParseStyle() {
    RcStyle style;
    do {
      if (IsPunct('|')) Next();
      if (IsKeyword("NOT")) {
        Next();
        style.cleared |= static_cast<std::uint32_t>(ParsePrimary());
      } else {
        style.set |= static_cast<std::uint32_t>(ParsePrimary());
      }
    } while (IsPunct('|'));
    return style;
  }

  std::uint16_t ParseLanguage() {
    std::int64_t primary = ParseValue();
    ExpectComma();
    std::int64_t sub = ParseValue();
    return static_cast<std::uint16_t>(primary | (sub << 10));
  }

  void ParseStringTable(RcScript& script) {
    SkipMemoryOptions();
    ExpectBegin();
    while (!IsEnd()) {
      RcString entry;
      entry.id = ParseInt();
      SkipComma();
      entry.text = ExpectString();
      entry.language = language_;
      script.strings.push_back(entry);
    }
    Next();
  }

  void ParseNamedResource(RcScript& script) {
    if (Peek().kind != TokenKind::Identifier && Peek().kind != TokenKind::Number) Fail("expected a resource");
    int id = static_cast<int>(ParsePrimary());
    if (IsKeyword("DIALOGEX") || IsKeyword("DIALOG")) {
      RcDialog dialog;
      dialog.extended = Next().text == "DIALOGEX";
      dialog.id = id;
      dialog.language = language_;
      ParseDialog(dialog);
      script.dialogs.push_back(std::move(dialog));
    } else if (IsKeyword("VERSIONINFO")) {
      Next();
      RcVersionInfo version;
      version.id = id;
      version.language = language_;
      ParseVersionInfo(version);
      script.versions.push_back(std::move(version));
    } else {
      RcFileResource resource;
      if (IsKeyword("ICON")) {
        Next();
        resource.type = kRtGroupIcon;
      } else {
        resource.type = static_cast<int>(ParsePrimary());
      }
      SkipMemoryOptions();
      resource.id = id;
      resource.language = language_;
      resource.file = ExpectString();
      script.files.push_back(resource);
    }
  }

  void ParseDialog(RcDialog& dialog) {
    SkipMemoryOptions();
    dialog.x = ParseInt();
    ExpectComma();
    dialog.y = ParseInt();
    ExpectComma();
    dialog.width = ParseInt();
    ExpectComma();
    dialog.height = ParseInt();
    if (IsPunct(',')) {  // help id of DIALOGEX
      Next();
      ParseValue();
    }
    while (!IsBegin()) {
      if (Peek().kind != TokenKind::Identifier) Fail("expected a dialog option or BEGIN");
      std::string option = Next().text;
      if (option == "STYLE") {
        dialog.style = ParseStyle();
      } else if (option == "EXSTYLE") {
        dialog.exStyle = ParseUint();
      } else if (option == "CAPTION") {
        dialog.caption = ExpectString();
      } else if (option == "FONT") {
        dialog.pointSize = ParseInt();
        ExpectComma();
        dialog.font = ExpectString();
        if (IsPunct(',')) {
          Next();
          dialog.fontWeight = ParseInt();
          ExpectComma();
          dialog.fontItalic = ParseInt();
          ExpectComma();
          dialog.fontCharset = ParseInt();
        }
      } else if (option == "LANGUAGE") {
        dialog.language = ParseLanguage();
      } else {
        Fail("unsupported dialog option " + option);
      }
    }
    Next();
    while (!IsEnd()) dialog.controls.push_back(ParseControl());
    Next();
  }

  RcControl ParseControl() {
    static const std::set<std::string> textControls{"DEFPUSHBUTTON", "PUSHBUTTON",   "GROUPBOX", "AUTORADIOBUTTON",
                                                    "RADIOBUTTON",   "AUTOCHECKBOX", "CHECKBOX", "AUTO3STATE",
                                                    "STATE3",        "LTEXT",        "CTEXT",    "RTEXT"};
    RcControl control;
    control.line = Peek().line;
    if (Peek().kind != TokenKind::Identifier) Fail("expected a control statement");
    control.keyword = Next().text;
    bool icon = control.keyword == "ICON";
    if (!icon && !textControls.count(control.keyword)) Fail("unsupported control statement " + control.keyword);
    if (icon && Peek().kind != TokenKind::String) {
      control.text = std::to_string(ParsePrimary());
    } else {
      control.text = ExpectString();
    }
    ExpectComma();
    control.id = ParseInt();
    ExpectComma();
    control.x = ParseInt();
    ExpectComma();
    control.y = ParseInt();
    if (!icon || IsPunct(',')) {
      ExpectComma();
      control.width = ParseInt();
      ExpectComma();
      control.height = ParseInt();
    }
    if (IsPunct(',')) {
      Next();
      control.style = ParseStyle();
      if (IsPunct(',')) {
        Next();
        control.exStyle = ParseUint();
      }
    }
    return control;
  }

  std::array<std::uint32_t, 4> ParseVersionNumber() {
    std::array<std::uint32_t, 4> parts{};
    for (size_t i = 0; i < parts.size(); ++i) {
      if (i > 0) ExpectComma();
      parts[i] = ParseUint();
    }
    return parts;
  }

  void ParseVersionInfo(RcVersionInfo& version) {
    while (!IsBegin()) {
      if (Peek().kind != TokenKind::Identifier) Fail("expected a version field or BEGIN");
      std::string field = Next().text;
      if (field == "FILEVERSION") {
        version.fileVersion = ParseVersionNumber();
      } else if (field == "PRODUCTVERSION") {
        version.productVersion = ParseVersionNumber();
      } else if (field == "FILEFLAGSMASK") {
        version.fileFlagsMask = ParseUint();
      } else if (field == "FILEFLAGS") {
        version.fileFlags = ParseUint();
      } else if (field == "FILEOS") {
        version.fileOs = ParseUint();
      } else if (field == "FILETYPE") {
        version.fileType = ParseUint();
      } else if (field == "FILESUBTYPE") {
        version.fileSubtype = ParseUint();
      } else {
        Fail("unsupported version field " + field);
      }
    }
    ParseVersionBlockBody(version.root);
  }

  void ParseVersionBlockBody(RcVersionBlock& block) {
    ExpectBegin();
    while (!IsEnd()) {
      if (IsKeyword("BLOCK")) {
        Next();
        RcVersionBlock child;
        child.name = ExpectString();
        ParseVersionBlockBody(child);
        block.blocks.push_back(std::move(child));
      } else if (IsKeyword("VALUE")) {
        Next();
        RcVersionValue value;
        value.name = ExpectString();
        while (IsPunct(',')) {
          Next();
          if (Peek().kind == TokenKind::String) {
            value.items.emplace_back(Next().text);
          } else {
            value.items.emplace_back(ParseUint());
          }
        }
        block.values.push_back(std::move(value));
      } else {
        Fail("expected BLOCK, VALUE or END");
      }
    }
    Next();
  }

  std::vector<Token> tokens_;
  const Preprocessor& pre_;
  std::string file_;
  size_t pos_ = 0;
  std::uint16_t language_ = 0x0409;  // the resource compiler's default, United States English
};

}  // namespace

const RcVersionBlock* RcVersionBlock::FindBlock(const std::string& blockName) const {
  for (const RcVersionBlock& block : blocks) {
    if (block.name == blockName) return &block;
  }
  return nullptr;
}

const RcVersionValue* RcVersionBlock::FindValue(const std::string& valueName) const {
  for (const RcVersionValue& value : values) {
    if (value.name == valueName) return &value;
  }
  return nullptr;
}

const RcDialog* RcScript::FindDialog(int id) const {
  for (const RcDialog& dialog : dialogs) {
    if (dialog.id == id) return &dialog;
  }
  return nullptr;
}

const RcString* RcScript::FindString(int id) const {
  for (const RcString& entry : strings) {
    if (entry.id == id) return &entry;
  }
  return nullptr;
}

const RcFileResource* RcScript::FindFile(int type, int id) const {
  for (const RcFileResource& resource : files) {
    if (resource.type == type && resource.id == id) return &resource;
  }
  return nullptr;
}

std::string DecodeRcScript(const std::string& bytes) {
  // The pragma itself is ASCII in every code page the script may use.
  static const std::regex codePagePragma(R"(#[ \t]*pragma[ \t]+code_page[ \t]*\([ \t]*(\d+)[ \t]*\))");
  std::smatch match;
  if (!std::regex_search(bytes, match, codePagePragma)) {
    throw RcParseError("the script names no code page (#pragma code_page)");
  }
  unsigned codePage = static_cast<unsigned>(std::stoul(match[1]));
  try {
    return ConvertToUtf8(bytes, IconvNameOfCodePage(codePage));
  } catch (const std::runtime_error& error) {
    throw RcParseError(std::string("the script is not valid in its code page: ") + error.what());
  }
}

RcScript ParseRcScript(const std::string& path) {
  std::string text = DecodeRcScript(ReadFileBytes(path));
  Preprocessor preprocessor;
  std::string remaining = preprocessor.Run(text, path);
  RcScript script;
  script.codePage = preprocessor.codePage;
  Parser(Lexer(remaining, path).Tokenize(), preprocessor, path).Parse(script);
  return script;
}

}  // namespace restest
