#include <gtest/gtest.h>
#include <iconv.h>

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "messages/MessageTable.h"

namespace {

using messages::kLanguageCount;
using messages::kMessageRowCount;
using messages::MessageCell;
using messages::MessageTable;

constexpr int kEnglish = 0;
constexpr int kSimplified = 1;
constexpr int kTraditional = 2;

// glibc iconv names of the code pages the stored bytes of each column are in.
constexpr const char* kStoredCharset[kLanguageCount] = {"ASCII", "CP936", "CP950"};

// Converts text with glibc iconv. Invalid, incomplete or irreversibly converted input gives
// nullopt, so a byte that the code page does not define can never pass as a match.
std::optional<std::string> Convert(std::string_view text, const char* from, const char* to) {
  const iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(static_cast<std::intptr_t>(-1))) {
    ADD_FAILURE() << "iconv cannot convert from " << from << " to " << to;
    return std::nullopt;
  }
  std::string in(text);
  std::string out(text.size() * 4 + 16, '\0');
  char* inPtr = in.data();
  size_t inLeft = in.size();
  char* outPtr = out.data();
  size_t outLeft = out.size();
  const size_t converted = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
  const size_t flushed = iconv(cd, nullptr, nullptr, &outPtr, &outLeft);
  iconv_close(cd);
  if (converted != 0 || flushed != 0 || inLeft != 0) {
    return std::nullopt;
  }
  out.resize(out.size() - outLeft);
  return out;
}

std::optional<std::string> DecodeStored(int column, std::string_view stored) {
  return Convert(stored, kStoredCharset[column], "UTF-8");
}

std::optional<std::string> EncodeForColumn(int column, std::string_view utf8) {
  return Convert(utf8, "UTF-8", kStoredCharset[column]);
}

bool IsPrintableAscii(std::string_view text) {
  for (const char ch : text) {
    if (ch < 0x20 || ch > 0x7e) {
      return false;
    }
  }
  return true;
}

// The printf conversions of a text in order ("%d", ...); "%%" is not a conversion.
std::vector<std::string> Conversions(std::string_view text) {
  std::vector<std::string> found;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '%') {
      continue;
    }
    size_t end = i + 1;
    while (end < text.size() && std::string_view("-+ #0123456789.lhjztL").find(text[end]) != std::string_view::npos) {
      ++end;
    }
    if (end < text.size() && text[end] != '%') {
      found.emplace_back(text.substr(i, end - i + 1));
    }
    i = end;
  }
  return found;
}

const MessageCell& Cell(int row, int column) {
  return MessageTable[static_cast<size_t>(row)][static_cast<size_t>(column)];
}

std::string Where(int row, int column) { return "row " + std::to_string(row) + ", column " + std::to_string(column); }

static_assert(messages::kRowOperationFailed == 28);
static_assert(messages::kRowErrorCaption == 44);
static_assert(messages::kRowApiLoadFailed == 65);
static_assert(messages::kRowInstallSuccess == 66);
static_assert(messages::kRowRegistrationFailed == 73);

TEST(MessageTableTest, LanguageIndexIsUnchosenAtStart) { EXPECT_EQ(messages::LanguageIndex, -1); }

TEST(MessageTableTest, EveryCellHasTextAndStoredBytesAreNullTerminated) {
  for (int row = 0; row < kMessageRowCount; ++row) {
    for (int column = 0; column < kLanguageCount; ++column) {
      SCOPED_TRACE(Where(row, column));
      const MessageCell& cell = Cell(row, column);
      EXPECT_FALSE(cell.readable.empty());
      ASSERT_FALSE(cell.stored.empty());
      // The stored text goes to the ANSI message box as a C string.
      EXPECT_EQ(cell.stored.data()[cell.stored.size()], '\0');
      EXPECT_EQ(cell.stored.find('\0'), std::string_view::npos);
    }
  }
}

TEST(MessageTableTest, EnglishCellsStoreTheirTextAsPrintableAscii) {
  for (int row = 0; row < kMessageRowCount; ++row) {
    SCOPED_TRACE(Where(row, kEnglish));
    const MessageCell& cell = Cell(row, kEnglish);
    EXPECT_EQ(cell.stored, cell.readable);
    EXPECT_TRUE(IsPrintableAscii(cell.stored)) << cell.stored;
  }
}

TEST(MessageTableTest, ChineseCellsDecodeFromTheirCodePageToTheirReadableText) {
  for (int row = 0; row < kMessageRowCount; ++row) {
    for (const int column : {kSimplified, kTraditional}) {
      SCOPED_TRACE(Where(row, column));
      const MessageCell& cell = Cell(row, column);
      EXPECT_EQ(DecodeStored(column, cell.stored), std::optional<std::string>(cell.readable));
      // A Chinese cell that is plain ASCII is an untranslated message.
      EXPECT_FALSE(IsPrintableAscii(cell.stored)) << cell.readable;
    }
  }
}

TEST(MessageTableTest, ConversionsAgreeAcrossLanguages) {
  for (int row = 0; row < kMessageRowCount; ++row) {
    SCOPED_TRACE(Where(row, kEnglish));
    const std::vector<std::string> english = Conversions(Cell(row, kEnglish).readable);
    EXPECT_EQ(Conversions(Cell(row, kSimplified).readable), english);
    EXPECT_EQ(Conversions(Cell(row, kTraditional).readable), english);
  }
}

TEST(MessageTableTest, RowZeroNamesTheLanguages) {
  EXPECT_EQ(Cell(0, kEnglish).readable, "English");
  EXPECT_EQ(Cell(0, kSimplified).readable, "简体中文");
  EXPECT_EQ(Cell(0, kTraditional).readable, "繁體中文");
}

struct DisplayedRow {
  int row;
  const char* texts[kLanguageCount];  // UTF-8
};

// The texts the program shows, exactly, including the missing spaces after "!" and "," and
// the ASCII "!" and ":" in the Chinese texts.
const DisplayedRow kDisplayedRows[] = {
    {28, {"Operation failed! Error code:%d", "操作失败，错误码:%d", "操作失敗，錯誤碼:%d"}},
    {44, {"Error", "错误", "錯誤"}},
    {65,
     {"System api load failed!Please contact us.", "系统函数加载失败，请联系技术支持!",
      "系統函數加載失敗，請聯系技術支持!"}},
    {66,
     {"Installation is successful,you can connect the camera to the computer and install the driver for the camera. "
      "If the camera has already been connected to the computer,re-connect it!thanks for your use!",
      "安装成功，请连接相机进行驱动安装。如果当前主机已经连接了相机，请重启相机或者拔掉连接线再次插上。感谢您的使用!",
      "安裝成功，請連接相機進行驅動安裝。如果當前主機已經連接了相機，請重啟相機或者拔掉連接線再次插上。感謝您的使用!"}},
    {73,
     {"Product registration failed, some system resources are locked, please turn off the firewall software, restart "
      "the computer and then run the installation program again.",
      "产品注册失败，某些系统资源被锁定，请关闭防火墙软件，重启电脑后再运行安装程序。",
      "產品注冊失敗，某些系統資源被鎖定，請關閉防火墻軟件，重啟電腦后再運行安裝程序。"}},
};

TEST(MessageTableTest, DisplayedRowsHoldTheExactTextsInEveryCodePage) {
  for (const DisplayedRow& expected : kDisplayedRows) {
    for (int column = 0; column < kLanguageCount; ++column) {
      SCOPED_TRACE(Where(expected.row, column));
      const MessageCell& cell = Cell(expected.row, column);
      EXPECT_EQ(cell.readable, expected.texts[column]);
      // The bytes shown are the text encoded by the system's own converter, byte for byte.
      const std::optional<std::string> encoded = EncodeForColumn(column, expected.texts[column]);
      ASSERT_TRUE(encoded.has_value());
      EXPECT_EQ(cell.stored, *encoded);
    }
  }
}

TEST(MessageTableTest, RegistrationFailureTraditionalUsesTheCodePage950ExtensionForWall) {
  const MessageCell& cell = Cell(messages::kRowRegistrationFailed, kTraditional);
  ASSERT_NE(cell.readable.find("防火墻"), std::string_view::npos);
  EXPECT_NE(cell.stored.find("\xf9\xd9"), std::string_view::npos);
  EXPECT_EQ(DecodeStored(kTraditional, "\xf9\xd9"), std::optional<std::string>("墻"));
}

TEST(MessageTableTest, OperationFailedFormatsTheErrorNumberInEveryLanguage) {
  const char* const expected[kLanguageCount] = {"Operation failed! Error code:5", "操作失败，错误码:5",
                                                "操作失敗，錯誤碼:5"};
  for (int column = 0; column < kLanguageCount; ++column) {
    SCOPED_TRACE(Where(messages::kRowOperationFailed, column));
    char buffer[256];
    const int length =
        std::snprintf(buffer, sizeof buffer, Cell(messages::kRowOperationFailed, column).stored.data(), 5);
    ASSERT_GT(length, 0);
    ASSERT_LT(static_cast<size_t>(length), sizeof buffer);
    EXPECT_EQ(DecodeStored(column, std::string_view(buffer, static_cast<size_t>(length))),
              std::optional<std::string>(expected[column]));
  }
}

}  // namespace
