#include "IniDocument.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <tuple>

#include "IniStore.h"

namespace {

std::string valueOf(const IniDocument& doc, const char* s, const char* k) {
  auto v = doc.find(s, k);
  return v ? std::string(*v) : std::string("<missing>");
}

}  // namespace

TEST(IniDocument, FindsSectionsAndKeysWithoutRegardToCaseOrBlanks) {
  const auto doc = IniDocument::parse("[Setting]\r\n  CurrentProfile = 3 \r\n[ Other ]\nx=1\n");
  EXPECT_EQ(valueOf(doc, "setting", "currentprofile"), "3");
  EXPECT_EQ(valueOf(doc, "SETTING", " CurrentProfile "), "3");
  EXPECT_EQ(valueOf(doc, "other", "X"), "1");
  EXPECT_EQ(valueOf(doc, "Setting", "x"), "<missing>");
  EXPECT_EQ(valueOf(doc, "Nope", "x"), "<missing>");
}

TEST(IniDocument, StripsOnePairOfMatchingQuotesAndKeepsEmptyValues) {
  const auto doc =
      IniDocument::parse("[s]\na=\"quoted value\"\nb='single'\nc=\"unbalanced\nd=\ne=\"\"\"x\"\"\"\n");
  EXPECT_EQ(valueOf(doc, "s", "a"), "quoted value");
  EXPECT_EQ(valueOf(doc, "s", "b"), "single");
  EXPECT_EQ(valueOf(doc, "s", "c"), "\"unbalanced");
  EXPECT_EQ(valueOf(doc, "s", "d"), "");
  EXPECT_EQ(valueOf(doc, "s", "e"), "\"\"x\"\"");
}

TEST(IniDocument, AValueSetReadsBackAsTheWrittenFileWillRead) {
  // Quotes and blanks around a value set are not part of it for a reader of
  // the file; the document in memory must not say otherwise.
  auto doc = IniDocument::parse("[s]\na=1\n");
  doc.set("s", "a", "'quoted'");
  doc.set("s", "b", "  padded ");
  doc.set("t", "c", "\"both\"");
  const auto reread = IniDocument::parse(doc.serialize());
  for (const auto& [section, key, value] :
       {std::tuple{"s", "a", "quoted"}, {"s", "b", "padded"}, {"t", "c", "both"}}) {
    EXPECT_EQ(valueOf(doc, section, key), value);
    EXPECT_EQ(valueOf(reread, section, key), value);
  }
}

TEST(IniDocument, AValueCannotAddLinesAndUnfindableNamesAreRefused) {
  // A profile name from the shared block may hold anything.
  auto doc = IniDocument::parse("[Setting]\r\nCurrentProfile=1\r\n");
  EXPECT_TRUE(doc.set("Setting", "ProFileName", "x\r\n[Setting]\r\nCurrentProfile=4"));
  const auto reread = IniDocument::parse(doc.serialize());
  EXPECT_EQ(valueOf(reread, "Setting", "CurrentProfile"), "1");
  EXPECT_EQ(valueOf(reread, "Setting", "ProFileName"), "x  [Setting]  CurrentProfile=4");

  const std::string before = doc.serialize();
  for (const char* key : {"", " ", ";comment", "[head", "a=b", "a\nb"})
    EXPECT_FALSE(doc.set("Setting", key, "v")) << key;
  EXPECT_FALSE(doc.set("a]b", "key", "v"));
  EXPECT_FALSE(doc.set("a\nb", "key", "v"));
  EXPECT_EQ(doc.serialize(), before);
}

TEST(IniDocument, FirstDuplicateSectionAndKeyWin) {
  const auto doc = IniDocument::parse("[s]\nk=1\nk=2\n[S]\nk=3\nonly=4\n");
  EXPECT_EQ(valueOf(doc, "s", "k"), "1");
  // Keys of a repeated section are not merged into the first one.
  EXPECT_EQ(valueOf(doc, "s", "only"), "<missing>");
}

TEST(IniDocument, CommentsAndKeysOutsideSectionsAreKeptButNotFound) {
  const std::string text = "stray=1\n; comment=2\n[s]\n;k=3\nk=4\ngarbage line\n";
  const auto doc = IniDocument::parse(text);
  EXPECT_EQ(valueOf(doc, "s", "k"), "4");
  EXPECT_EQ(valueOf(doc, "s", ";k"), "<missing>");
  EXPECT_EQ(doc.serialize(), text);
}

TEST(IniDocument, UntouchedBytesSurviveARoundTrip) {
  const std::string text = "[a]\r\nx = 1 \r\n\r\n; note\n[b]\ny=2";
  EXPECT_EQ(IniDocument::parse(text).serialize(), text);
  EXPECT_EQ(IniDocument::parse("").serialize(), "");
}

TEST(IniDocument, EditingReplacesTheValueAndKeepsTheNameAsWritten) {
  auto doc = IniDocument::parse("[s]\r\n  Key = old \r\nz=9\r\n");
  doc.set("S", "KEY", "new");
  EXPECT_EQ(doc.serialize(), "[s]\r\nKey=new\r\nz=9\r\n");
}

TEST(IniDocument, NewKeysGoAfterTheLastKeyOfTheirSection) {
  auto doc = IniDocument::parse("[a]\r\nx=1\r\n\r\n[b]\r\ny=2\r\n");
  doc.set("a", "n", "5");
  doc.set("b", "m", "6");
  EXPECT_EQ(doc.serialize(), "[a]\r\nx=1\r\nn=5\r\n\r\n[b]\r\ny=2\r\nm=6\r\n");
  EXPECT_EQ(valueOf(doc, "a", "n"), "5");
  EXPECT_EQ(valueOf(doc, "b", "y"), "2");
}

TEST(IniDocument, NewSectionsGoAtTheEndEvenWithoutAFinalNewline) {
  auto doc = IniDocument::parse("[a]\nx=1");
  doc.set("b", "k", "v");
  doc.set("a", "y", "2");
  EXPECT_EQ(doc.serialize(), "[a]\nx=1\r\ny=2\r\n[b]\r\nk=v\r\n");
  IniDocument empty;
  empty.set("Setting", "CurrentProfile", "0");
  EXPECT_EQ(empty.serialize(), "[Setting]\r\nCurrentProfile=0\r\n");
}

TEST(IniDocument, VeryLongLinesAreHandled) {
  const std::string big(300000, 'A');
  auto doc = IniDocument::parse("[s]\nk=" + big + "\n");
  EXPECT_EQ(valueOf(doc, "s", "k"), big);
  doc.set("s", "k", "short");
  EXPECT_EQ(doc.serialize(), "[s]\nk=short\n");
}

TEST(IniDocument, ValuesSetAgainAndAgainReadAndWriteBackWhateverTheirLength) {
  auto doc = IniDocument::parse("[s]\r\na=1\r\nb=2\r\n");
  const std::string longer(5000, 'L');
  for (const std::string& value :
       {longer, std::string("s"), std::string(""), longer + "M", std::string("end")}) {
    doc.set("s", "a", value);
    doc.set("s", "new", value);
    EXPECT_EQ(valueOf(doc, "s", "a"), value);
    EXPECT_EQ(valueOf(doc, "s", "b"), "2");
    EXPECT_EQ(doc.serialize(), "[s]\r\na=" + value + "\r\nb=2\r\nnew=" + value + "\r\n");
  }
  // A value taken from the document itself survives its own rewrite.
  const std::string_view own = *doc.find("s", "new");
  doc.set("s", "a", own);
  EXPECT_EQ(valueOf(doc, "s", "a"), "end");
}

TEST(IniDocument, ALineThatAlreadyReadsKeyEqualsValueIsNoChange) {
  auto doc = IniDocument::parse("[s]\r\nk=v\r\nspaced = v\r\n");
  EXPECT_FALSE(doc.set("S", "K", "v"));
  EXPECT_TRUE(doc.set("s", "k", "w"));
  // The platform writes such a line as "spaced=v": that is a change of bytes.
  EXPECT_TRUE(doc.set("s", "spaced", "v"));
  EXPECT_TRUE(doc.set("s", "fresh", "v"));
  EXPECT_FALSE(doc.set("s", "fresh", "v"));
  EXPECT_EQ(doc.serialize(), "[s]\r\nk=w\r\nspaced=v\r\nfresh=v\r\n");
}

// findWritten gives a value exactly when set() with it changes nothing.
TEST(IniDocument, TheWrittenTextIsGivenOnlyForLinesInTheFormSetWrites) {
  auto doc = IniDocument::parse("[s]\r\nk=v\r\nq=\"v\"\r\nspaced = v\r\n lead=v\r\nk=second\r\n");
  EXPECT_EQ(doc.findWritten("S", "K"), "v");
  EXPECT_EQ(doc.findWritten("s", "q"), "\"v\"");
  EXPECT_EQ(doc.findWritten("s", "spaced"), std::nullopt);
  EXPECT_EQ(doc.findWritten("s", "lead"), std::nullopt);
  EXPECT_EQ(doc.findWritten("s", "none"), std::nullopt);
  EXPECT_EQ(doc.findWritten("t", "k"), std::nullopt);
  EXPECT_FALSE(doc.set("s", "q", *doc.findWritten("s", "q")));
  EXPECT_TRUE(doc.set("s", "q", "v"));
  EXPECT_TRUE(doc.set("s", "spaced", "v"));
  EXPECT_EQ(doc.findWritten("s", "spaced"), "v");
}

TEST(StructCodec, EncodesUpperCaseHexWithByteSum) {
  const uint8_t bytes[] = {0x01, 0xAB, 0xFF};
  EXPECT_EQ(encodeStruct(bytes, 3), "01ABFFAB");  // 0x01+0xAB+0xFF = 0x1AB
  EXPECT_EQ(encodeStruct(nullptr, 0), "00");
  std::string reused = "longer than what goes in";
  encodeStructTo(reused, bytes, 3);
  EXPECT_EQ(reused, "01ABFFAB");
}

TEST(StructCodec, TheEncodingIsRecognisedOnlyExactly) {
  const uint8_t bytes[] = {0x01, 0xAB, 0xFF};
  EXPECT_TRUE(isEncodingOf("01ABFFAB", bytes, 3));
  EXPECT_TRUE(isEncodingOf("00", nullptr, 0));
  // Lower case reads back the same but is other bytes in the file.
  EXPECT_FALSE(isEncodingOf("01abffab", bytes, 3));
  EXPECT_FALSE(isEncodingOf("01ABFFAC", bytes, 3));    // sum
  EXPECT_FALSE(isEncodingOf("01ABFEAB", bytes, 3));    // byte
  EXPECT_FALSE(isEncodingOf("01ABFFAB00", bytes, 3));  // length
  EXPECT_FALSE(isEncodingOf("01ABFF", bytes, 3));
}

TEST(StructCodec, DecodeRejectsWrongLengthBadDigitsAndBadSum) {
  uint8_t out[3] = {7, 7, 7};
  EXPECT_FALSE(decodeStruct("01ABFFAC", out, 3));    // sum
  EXPECT_FALSE(decodeStruct("01ABFFAB00", out, 3));  // length
  EXPECT_FALSE(decodeStruct("01ABFF", out, 3));
  EXPECT_FALSE(decodeStruct("01ABFGAB", out, 3));  // digit
  EXPECT_EQ(out[0], 7);                            // untouched by failures
  EXPECT_TRUE(decodeStruct("01abffab", out, 3));
  EXPECT_EQ(out[0], 0x01);
  EXPECT_EQ(out[1], 0xAB);
  EXPECT_EQ(out[2], 0xFF);
}

TEST(IniInt, ParsesLikeThePlatform) {
  EXPECT_EQ(parseIniInt("42"), 42);
  EXPECT_EQ(parseIniInt("  -17xyz"), -17);
  EXPECT_EQ(parseIniInt("abc"), 0);
  EXPECT_EQ(parseIniInt("+5"), 5);
  EXPECT_EQ(parseIniInt("4294967295"), -1);  // colours above 2^31 round-trip
}
