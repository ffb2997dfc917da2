#include "list/list_file.h"

#include <gtest/gtest.h>

#include <cstring>

namespace kv {
namespace {

std::vector<std::uint8_t> Record(std::uint8_t nameLength, const std::string& name,
                                 std::uint8_t pathLength, const std::string& path,
                                 std::uint8_t style) {
  std::vector<std::uint8_t> r(kListRecordSize, 0);
  r[0] = nameLength;
  std::memcpy(&r[1], name.data(), std::min<std::size_t>(name.size(), 50));
  r[51] = pathLength;
  std::memcpy(&r[52], path.data(), std::min<std::size_t>(path.size(), 200));
  r[252] = style;
  return r;
}

std::vector<ListRecord> Parse(const std::vector<std::uint8_t>& bytes) {
  return ParseListFile(bytes.data(), bytes.size());
}

TEST(ListFile, EmptyListIsAnEmptyFile) {
  EXPECT_TRUE(FormatListFile({}).empty());
  EXPECT_TRUE(ParseListFile(nullptr, 0).empty());
}

TEST(ListFile, RecordLayoutIsFixed) {
  const auto bytes = FormatListFile({{"sea.bmp", "D:\\Walls\\", 9}});
  ASSERT_EQ(bytes.size(), 253u);
  EXPECT_EQ(bytes, Record(7, "sea.bmp", 9, "D:\\Walls\\", 9));
}

TEST(ListFile, ThreeRecordsAre759BytesAndReadBackInOrder) {
  const std::vector<ListRecord> records = {
      {"a.jpg", "C:\\w\\", 0}, {"b.png", "C:\\w\\sub\\", 4}, {"c.bmp", "D:\\", 10}};
  const auto bytes = FormatListFile(records);
  EXPECT_EQ(bytes.size(), 759u);
  EXPECT_EQ(Parse(bytes), records);
}

TEST(ListFile, LongNamesAreCutToTheirFields) {
  const std::string name(60, 'n'), path(230, 'p');
  const auto records = Parse(FormatListFile({{name, path, 1}}));
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].fileName, name.substr(0, 50));
  EXPECT_EQ(records[0].path, path.substr(0, 200));
}

TEST(ListFile, LengthBytesBeyondTheirFieldsAreClamped) {
  // A damaged length must not read into the next field or record.
  auto bytes = Record(255, std::string(50, 'n'), 201, std::string(200, 'p'), 2);
  const auto second = Record(5, "x.bmp", 3, "C:\\", 1);
  bytes.insert(bytes.end(), second.begin(), second.end());
  const auto records = Parse(bytes);
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[0].fileName, std::string(50, 'n'));
  EXPECT_EQ(records[0].path, std::string(200, 'p'));
  EXPECT_EQ(records[1], (ListRecord{"x.bmp", "C:\\", 1}));
}

TEST(ListFile, AnIncompleteLastRecordLeavesTheWholeOnes) {
  auto bytes = FormatListFile({{"a.jpg", "C:\\", 1}, {"b.jpg", "C:\\", 2}});
  bytes.resize(253 * 2 + 10, 0x41);
  EXPECT_EQ(Parse(bytes).size(), 2u);
  bytes.resize(252);
  EXPECT_TRUE(Parse(bytes).empty());
}

TEST(ListFile, UnusedFieldBytesHaveNoMeaning) {
  auto bytes = Record(3, "abcdefgh", 2, "C:\\junk", 3);
  EXPECT_EQ(Parse(bytes)[0], (ListRecord{"abc", "C:", 3}));
}

TEST(ListFile, StyleBytesAreKeptAsStored) {
  const auto records = Parse(Record(1, "a", 0, "", 200));
  EXPECT_EQ(records[0].style, 200);
}

TEST(ListFile, AnsiFieldsOfOlderFilesReadAsWindows1252) {
  const auto records = Parse(Record(9, "W\xE4nde.jpg", 7, "C:\\\xC9t\xE9\\", 1));
  EXPECT_EQ(records[0].fileName, "W\xC3\xA4nde.jpg");
  EXPECT_EQ(records[0].path, "C:\\\xC3\x89t\xC3\xA9\\");
}

TEST(ListFile, NamesBeyondTheCodePageSurviveASaveAndALoad) {
  const std::vector<ListRecord> records = {
      {"\xE2\x98\x80.png", "C:\\\xD0\x9C\xD0\xBE\xD1\x80\xD0\xB5\\", 3},
      {"W\xC3\xA4nde.jpg", "C:\\\xC3\x89t\xC3\xA9\\", 1}};
  const auto bytes = FormatListFile(records);
  EXPECT_EQ(bytes[0], 7);    // three UTF-8 bytes and ".png"
  EXPECT_EQ(bytes[253], 9);  // one byte for the a-umlaut in Windows-1252
  EXPECT_EQ(Parse(bytes), records);
}

// --- Names the records cannot hold: the companion file.

std::vector<ListRecord> ParseBoth(const ListFiles& files) {
  return ParseListFiles(files.records.data(), files.records.size(), files.names.data(),
                        files.names.size());
}

// What an older copy of the program leaves after loading and saving the list
// without the companion: the records only, names cut.
std::vector<ListRecord> AsOlderCopyReadsIt(const ListFiles& files) {
  return ParseListFile(files.records.data(), files.records.size());
}

const std::string kLongName = std::string(60, 'w') + ".jpg";
// 30 characters of two bytes each: 60 bytes of UTF-8.
const std::string kUtf8Name = [] {
  std::string s;
  for (int i = 0; i < 30; ++i) s += "\xD0\x96";
  return s + ".png";
}();
const std::string kDeepPath = "C:\\" + std::string(240, 'd') + "\\";

TEST(ListFiles, EveryEntryComesBackWholeAndTheRecordsAreTheFormatsOwn) {
  const std::vector<std::vector<ListRecord>> lists = {
      {{kLongName, "C:\\w\\", 1}},
      {{"a.jpg", "C:\\", 0}, {kUtf8Name, "D:\\", 3}, {"b.jpg", kDeepPath, 4}},
      {{kLongName, kDeepPath, 10}, {kLongName, "C:\\", 2}},  // two long ones, one cut form
      {{kLongName + "1", "C:\\", 0}, {kLongName + "2", "C:\\", 0}},
      {{std::string(50, 'x'), std::string(200, 'y'), 5}},  // exactly full, fits
  };
  for (const auto& records : lists) {
    const ListFiles files = FormatListFiles(records);
    EXPECT_EQ(files.records, FormatListFile(records)) << records[0].fileName;
    EXPECT_EQ(ParseBoth(files), records) << records[0].fileName;
  }
  // A list whose entries all fit has no companion, and is the file it always was.
  EXPECT_TRUE(
      FormatListFiles({{"a.jpg", "C:\\", 0}, {std::string(50, 'x'), "C:\\", 1}}).names.empty());
  EXPECT_TRUE(FormatListFiles({}).names.empty());
}

TEST(ListFiles, AfterAnOlderCopySavedTheListTheEntriesItKeptGetTheirNamesBack) {
  const std::vector<ListRecord> saved = {{kLongName, "C:\\", 1},
                                         {"short.jpg", "C:\\", 2},
                                         {kUtf8Name, kDeepPath, 3},
                                         {kLongName + "2", "C:\\", 4}};
  const ListFiles files = FormatListFiles(saved);
  std::vector<ListRecord> older = AsOlderCopyReadsIt(files);
  ASSERT_EQ(older[0].fileName.size(), 50u);  // what an older reader shows: cut, no garbage
  // The older copy removes the first entry, restyles one and appends another.
  older.erase(older.begin());
  older[1].style = 9;
  older.push_back({"new.jpg", "E:\\", 0});
  const std::vector<std::uint8_t> records = FormatListFile(older);
  const auto loaded =
      ParseListFiles(records.data(), records.size(), files.names.data(), files.names.size());
  const std::vector<ListRecord> expected = {{"short.jpg", "C:\\", 2},
                                            {kUtf8Name, kDeepPath, 9},
                                            {kLongName + "2", "C:\\", 4},
                                            {"new.jpg", "E:\\", 0}};
  EXPECT_EQ(loaded, expected);
}

TEST(ListFiles, ACompanionThatProvesNothingChangesNothing) {
  const std::vector<ListRecord> mine = {{kLongName, "C:\\", 1}, {"b.jpg", "C:\\", 2}};
  const ListFiles files = FormatListFiles(mine);
  const std::vector<ListRecord> cut = AsOlderCopyReadsIt(files);
  const ListFiles other = FormatListFiles({{std::string(70, 'o'), "C:\\", 1}});
  std::vector<std::uint8_t> wrongMagic = files.names;
  wrongMagic[0] = 'X';
  std::vector<std::uint8_t> hugeLength = files.names;
  hugeLength[8 + 8 + 4 + 4 + 3] = 0x7F;  // the first name's length
  const std::vector<std::vector<std::uint8_t>> companions = {
      other.names, wrongMagic, hugeLength, {}};
  for (const auto& names : companions)
    EXPECT_EQ(
        ParseListFiles(files.records.data(), files.records.size(), names.data(), names.size()),
        cut);
  // Cut short anywhere, it gives at most what it held, never more or other.
  for (std::size_t n = 0; n <= files.names.size(); ++n) {
    const auto loaded =
        ParseListFiles(files.records.data(), files.records.size(), files.names.data(), n);
    EXPECT_TRUE(loaded == cut || (n == files.names.size() && loaded == mine)) << n;
  }
}

}  // namespace
}  // namespace kv
