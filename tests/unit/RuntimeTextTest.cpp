#include "runtime/Cp1252.h"
#include "runtime/ShortString.h"
#include "runtime/TextRules.h"
#include "runtime/Utf8.h"

#include <gtest/gtest.h>

#include <cstring>
#include <tuple>

namespace portolan {
namespace {

TEST(ShortString, StoringCutsToCapacityAndKeepsTheBytesBehind) {
    struct Case {
        const char* before;
        const char* stored;
        std::string_view text;
        std::string_view bytes; // the five character bytes afterwards
    };
    const Case cases[] = {
        {"", "21", "21", std::string_view("21\0\0\0", 5)},
        {"", "123456", "12345", "12345"},
        {"abcde", "xy", "xy", "xycde"},
        {"abcde", "", "", "abcde"},
    };
    for (const Case& c : cases) {
        ShortString<5> field{};
        field.assign(c.before);
        field.assign(c.stored);
        EXPECT_EQ(field.text(), c.text) << c.stored;
        EXPECT_EQ(std::string_view(field.chars, 5), c.bytes) << c.stored;
        EXPECT_EQ(field.length, c.text.size());
    }
}

TEST(ShortString, LengthByteAboveCapacityReadsAsCapacity) {
    struct {
        ShortString<5> field;
        char after[3];
    } memory{};
    std::memcpy(memory.field.chars, "abcde", 5);
    std::memcpy(memory.after, "XYZ", 3);
    for (int length : {6, 200, 255}) {
        memory.field.length = static_cast<std::uint8_t>(length);
        EXPECT_EQ(memory.field.text(), "abcde");
    }
}

TEST(TextRules, TrimRemovesControlsAndBlanksAtBothEnds) {
    const std::pair<std::string_view, std::string_view> cases[] = {
        {"  client.exe  ", "client.exe"},
        {"\t\r\nx y\x1f ", "x y"},
        {"    ", ""},
        {"", ""},
        {"\x7f"
         "a\xa0",
         "\x7f"
         "a\xa0"}, // 127 and 160 are above 32
    };
    for (const auto& [text, trimmed] : cases)
        EXPECT_EQ(trimControls(text), trimmed);
}

TEST(TextRules, UpperCaseChangesOnlyAsciiLetters) {
    EXPECT_EQ(upperCaseAscii("sites.ptn"), "SITES.PTN");
    EXPECT_EQ(upperCaseAscii("\xe4\xe9-z_a1"), "\xe4\xe9-Z_A1");
}

TEST(TextRules, FileNamePartIsTheTextAfterTheLastSlash) {
    const std::pair<std::string_view, std::string_view> cases[] = {
        {"/home/user/sites.ptn", "sites.ptn"}, {"sites.ptn", "sites.ptn"}, {"folder/", ""}, {"", ""},
        {"/a b/c d.ptn", "c d.ptn"},
    };
    for (const auto& [path, name] : cases)
        EXPECT_EQ(fileNamePart(path), name) << path;
}

TEST(Cp1252, EveryByteSurvivesTheRoundTrip) {
    std::string all;
    for (int byte = 0; byte < 256; ++byte)
        all.push_back(static_cast<char>(byte));
    const std::u16string text = utf16FromCp1252(all);
    ASSERT_EQ(text.size(), 256u);
    EXPECT_EQ(cp1252FromUtf16(text), all);
}

TEST(Cp1252, CharactersMapAsWindowsDoes) {
    const std::pair<char16_t, char> cases[] = {
        {u'A', 'A'},         {u'\u20ac', '\x80'}, {u'\u0081', '\x81'},
        {u'\u2122', '\x99'}, {u'\u0178', '\x9f'}, {u'\u00e9', '\xe9'},
        {u'\u00ff', '\xff'}, {u'\u0100', '?'},    {u'\u4e2d', '?'},
    };
    for (const auto& [character, byte] : cases) {
        EXPECT_EQ(cp1252FromUtf16(std::u16string(1, character)), std::string(1, byte));
    }
    EXPECT_EQ(utf16FromCp1252("\x80\x9d"), u"\u20ac\u009d");
}

TEST(Cp1252, ACharacterOutsideTheBasicPlaneIsOneQuestionMark) {
    EXPECT_EQ(cp1252FromUtf16(u"a\U0001F600b"), "a?b");
    EXPECT_EQ(cp1252FromUtf16(u"\xd800x"), "?x"); // a lone surrogate
}

TEST(Cp1252, FileNamesConvertToAndFromUtf8) {
    EXPECT_EQ(utf8FromCp1252("\xdc"
                             "bersicht \x80.ptn"),
              "\xc3\x9c"
              "bersicht \xe2\x82\xac.ptn");
    EXPECT_EQ(cp1252FromUtf8("\xc3\x9c"
                             "bersicht \xe2\x82\xac.ptn"),
              "\xdc"
              "bersicht \x80.ptn");
    EXPECT_EQ(cp1252FromUtf8("\xe4\xb8\xad\xf0\x9f\x98\x80/\xff"), "??"
                                                                   "/?")
        << "outside the code page, or not UTF-8";
    std::string all;
    for (int byte = 1; byte < 256; ++byte)
        all.push_back(static_cast<char>(byte));
    EXPECT_EQ(cp1252FromUtf8(utf8FromCp1252(all)), all);
}

TEST(Utf8, OnlyWellFormedTextIsUtf8) {
    const std::pair<std::string_view, bool> cases[] = {
        {"", true},
        {"ftp %a", true},
        {"/opt/\xd0\xba\xd0\xbb\xd0\xb8\xd0\xb5\xd0\xbd\xd1\x82", true}, // Cyrillic letters
        {"\xe2\x82\xac \xf0\x9f\x98\x80", true},                         // three and four bytes
        {"Fl\xfcgel", false},                                            // Windows-1252
        {"\xd0", false},                                                 // cut short
        {"\xc0\x80", false},                                             // overlong
        {"\xed\xa0\x80", false},                                         // a surrogate
        {"\xf4\x90\x80\x80", false},                                     // above U+10FFFF
    };
    for (const auto& [text, utf8] : cases)
        EXPECT_EQ(isUtf8(text), utf8) << ::testing::PrintToString(text);
}

TEST(Utf8, APrefixNeverEndsInsideACharacter) {
    const std::string a126(126, 'a');
    const std::tuple<std::string, std::size_t, std::size_t> cases[] = {
        {a126 + "bc", 128, 128},
        {a126 + "b\xd0\xb9", 128, 127},        // a two-byte letter across the limit
        {a126 + "\xd0\xb9", 128, 128},         // ending on the limit
        {a126 + "\xe2\x82\xac", 128, 126},     // three bytes
        {a126 + "\xf0\x9f\x98\x80", 128, 126}, // four bytes
        {"ab", 128, 2},
    };
    for (const auto& [text, limit, length] : cases)
        EXPECT_EQ(utf8PrefixLength(text, limit), length) << ::testing::PrintToString(text);
}

} // namespace
} // namespace portolan
