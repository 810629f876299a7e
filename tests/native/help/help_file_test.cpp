// Reads the compiled help file back and checks it against what the program
// opens: every topic of help_topics.h is a page of the file with its anchor,
// the file has a default page, and every link between the pages (and every
// entry of the contents and of the keyword index) leads to a page and an
// anchor that exist.

#include <chm_lib.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "ui/help_topics.h"

namespace {

constexpr char kHelpFile[] = KIRABI_HELP_FILE;

// Paths as the file stores them ("/_RESOURCE/HLP000017.html"), with their content.
using HelpFiles = std::map<std::string, std::string>;

struct ChmCloser {
  void operator()(chmFile* file) const { chm_close(file); }
};

std::string ReadObject(chmFile* file, chmUnitInfo& unit) {
  std::string content(static_cast<size_t>(unit.length), '\0');
  if (unit.length == 0) return content;
  const LONGINT64 got = chm_retrieve_object(file, &unit, reinterpret_cast<unsigned char*>(content.data()),
                                            0, static_cast<LONGINT64>(unit.length));
  content.resize(got > 0 ? static_cast<size_t>(got) : 0);
  return content;
}

struct EnumerateContext {
  HelpFiles* files;
};

int CollectFile(chmFile* file, chmUnitInfo* unit, void* context) {
  auto& files = *static_cast<EnumerateContext*>(context)->files;
  const std::string path = unit->path;
  if (!path.empty() && path.back() != '/') files[path] = ReadObject(file, *unit);
  return CHM_ENUMERATOR_CONTINUE;
}

// Reads every file of the help file, the internal ones (#SYSTEM …) included.
bool ReadHelpFile(HelpFiles& files) {
  std::unique_ptr<chmFile, ChmCloser> file(chm_open(kHelpFile));
  if (!file) return false;
  EnumerateContext context{&files};
  return chm_enumerate(file.get(), CHM_ENUMERATE_NORMAL | CHM_ENUMERATE_SPECIAL, CollectFile,
                       &context) != 0;
}

// A text entry of #SYSTEM: entries of a 16-bit code, a 16-bit length and the
// data, after a 32-bit version. Code 0 is the contents file, 1 the keyword
// index, 2 the default topic.
std::string SystemEntry(const std::string& system, unsigned wanted) {
  size_t at = 4;
  while (at + 4 <= system.size()) {
    const auto byte = [&](size_t i) { return static_cast<uint8_t>(system[i]); };
    const unsigned code = byte(at) | (byte(at + 1) << 8);
    const unsigned length = byte(at + 2) | (byte(at + 3) << 8);
    at += 4;
    if (at + length > system.size()) break;
    if (code == wanted) return std::string(system.c_str() + at);
    at += length;
  }
  return {};
}

// Every quoted value that follows `prefix` in the text, as in href="VALUE".
std::vector<std::string> ValuesAfter(const std::string& text, const std::string& prefix) {
  std::vector<std::string> values;
  for (size_t at = text.find(prefix); at != std::string::npos; at = text.find(prefix, at)) {
    at += prefix.size();
    const size_t end = text.find('"', at);
    if (end == std::string::npos) break;
    values.push_back(text.substr(at, end - at));
    at = end;
  }
  return values;
}

bool HasAnchor(const std::string& page, const std::string& anchor) {
  return page.find("name=\"" + anchor + "\"") != std::string::npos ||
         page.find("id=\"" + anchor + "\"") != std::string::npos;
}

std::string Narrow(std::u16string_view text) {
  std::string out;
  for (char16_t c : text) out += c < 0x80 ? static_cast<char>(c) : '?';
  return out;
}

// "kirabi.chm::/_RESOURCE/x.html#a" → file "kirabi.chm", page "/_RESOURCE/x.html", anchor "a".
struct Topic {
  std::string file, page, anchor;
};

Topic SplitTopic(const std::string& topic) {
  Topic parts;
  const size_t separator = topic.find("::");
  parts.file = topic.substr(0, separator);
  if (separator == std::string::npos) return parts;
  std::string rest = topic.substr(separator + 2);
  const size_t hash = rest.find('#');
  if (hash != std::string::npos) {
    parts.anchor = rest.substr(hash + 1);
    rest.resize(hash);
  }
  parts.page = rest;
  return parts;
}

// Resolves a link written on the page at `from` ("/_RESOURCE/a.html") to a path in the file.
std::string ResolveLink(const std::string& from, const std::string& link) {
  if (link.empty()) return from;
  if (link[0] == '/') return link;
  std::string folder = from.substr(0, from.rfind('/') + 1);
  std::string rest = link;
  while (rest.rfind("../", 0) == 0) {
    rest.erase(0, 3);
    folder.pop_back();
    folder.resize(folder.rfind('/') + 1);
  }
  return folder + rest;
}

class HelpFileTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    files_ = new HelpFiles;
    read_ = ReadHelpFile(*files_);
  }
  static void TearDownTestSuite() {
    delete files_;
    files_ = nullptr;
  }
  void SetUp() override { ASSERT_TRUE(read_) << "cannot read " << kHelpFile; }

  static std::vector<std::string> Pages() {
    std::vector<std::string> pages;
    for (const auto& [path, content] : *files_) {
      if (path.size() > 5 && path.compare(path.size() - 5, 5, ".html") == 0) pages.push_back(path);
    }
    return pages;
  }

  // Checks that a link target exists, with its anchor when it names one.
  static void ExpectTarget(const std::string& where, const std::string& path, const std::string& anchor) {
    const auto page = files_->find(path);
    if (page == files_->end()) {
      ADD_FAILURE() << where << ": " << path << " is not in the help file";
      return;
    }
    if (!anchor.empty()) {
      EXPECT_TRUE(HasAnchor(page->second, anchor)) << where << ": " << path << " has no anchor " << anchor;
    }
  }

  static HelpFiles* files_;
  static bool read_;
};

HelpFiles* HelpFileTest::files_ = nullptr;
bool HelpFileTest::read_ = false;

TEST_F(HelpFileTest, EveryTopicTheProgramOpensIsAPageWithItsAnchor) {
  for (std::u16string_view topic_text : kAllHelpTopics) {
    const std::string topic = Narrow(topic_text);
    SCOPED_TRACE(topic);
    const Topic parts = SplitTopic(topic);
    EXPECT_EQ(parts.file, "kirabi.chm");
    if (parts.page.empty()) {
      EXPECT_TRUE(parts.anchor.empty());
      continue;  // the file itself: its default page, checked below
    }
    ExpectTarget(topic, parts.page, parts.anchor);
  }
}

TEST_F(HelpFileTest, TopicListHoldsEachTopicOnce) {
  std::set<std::u16string_view> seen(kAllHelpTopics.begin(), kAllHelpTopics.end());
  EXPECT_EQ(seen.size(), kAllHelpTopics.size());
  // The settings pages that share one page each have their own anchor.
  EXPECT_EQ(SplitTopic(Narrow(kTopicMemo)).anchor, "memo");
  EXPECT_EQ(SplitTopic(Narrow(kTopicFormatFieldJa)).anchor, "IDC_EDIT_FORMAT");
  EXPECT_EQ(SplitTopic(Narrow(kTopicAdminRun)).anchor, "admin");
}

TEST_F(HelpFileTest, OpeningTheFileAloneShowsAnExistingDefaultPage) {
  const auto system = files_->find("/#SYSTEM");
  ASSERT_NE(system, files_->end());
  const std::string topic = SystemEntry(system->second, 2);
  ASSERT_FALSE(topic.empty()) << "no default topic recorded";
  ExpectTarget("default topic", "/" + topic, "");
}

// The viewer shows the Contents and Index tabs for the files #SYSTEM names.
TEST_F(HelpFileTest, ContentsAndIndexAreRecordedForTheViewer) {
  const auto system = files_->find("/#SYSTEM");
  ASSERT_NE(system, files_->end());
  EXPECT_EQ(SystemEntry(system->second, 0), "kirabi.hhc");
  EXPECT_EQ(SystemEntry(system->second, 1), "kirabi.hhk");
  EXPECT_EQ(SystemEntry(system->second, 3), "Kirabi Help");
}

TEST_F(HelpFileTest, EveryLinkBetweenPagesLeadsToAPageAndAnchor) {
  size_t links = 0;
  for (const std::string& from : Pages()) {
    for (const std::string& link : ValuesAfter(files_->at(from), "href=\"")) {
      if (link.find(':') != std::string::npos) continue;  // another scheme: not ours to check
      const size_t hash = link.find('#');
      const std::string target = ResolveLink(from, link.substr(0, hash));
      ExpectTarget(from + " → " + link, target, hash == std::string::npos ? "" : link.substr(hash + 1));
      ++links;
    }
  }
  EXPECT_GT(links, 50u);
}

// The links ("Local" values) of a site map: the contents or the keyword index.
std::vector<std::string> SitemapLinks(const std::string& text) {
  return ValuesAfter(text, "name=\"Local\" value=\"");
}

TEST_F(HelpFileTest, EveryEntryOfTheContentsAndTheIndexLeadsToAPageAndAnchor) {
  for (const char* sitemap : {"/kirabi.hhc", "/kirabi.hhk"}) {
    SCOPED_TRACE(sitemap);
    const auto found = files_->find(sitemap);
    ASSERT_NE(found, files_->end());
    const std::vector<std::string> links = SitemapLinks(found->second);
    EXPECT_GE(links.size(), 10u);
    for (const std::string& link : links) {
      const size_t hash = link.find('#');
      std::string target = "/";
      target += link.substr(0, hash);
      ExpectTarget(std::string(sitemap) + " → " + link, target,
                   hash == std::string::npos ? "" : link.substr(hash + 1));
    }
    // The viewer reads site maps in the file's code page: only ASCII shows the same everywhere.
    for (char c : found->second) ASSERT_EQ(static_cast<unsigned char>(c) & 0x80, 0) << "non-ASCII text";
  }
}

TEST_F(HelpFileTest, IndexNamesEveryBuiltinFunction) {
  const auto index = files_->find("/kirabi.hhk");
  ASSERT_NE(index, files_->end());
  const std::vector<std::string> links = SitemapLinks(index->second);
  const std::set<std::string> indexed(links.begin(), links.end());
  size_t builtins = 0;
  for (const std::string& page : Pages()) {
    if (page.find("/qvs_") == std::string::npos) continue;
    for (const std::string& name : ValuesAfter(files_->at(page), "<h3><a name=\"")) {
      const std::string entry = page.substr(1) + "#" + name;
      EXPECT_EQ(indexed.count(entry), 1u) << entry << " is not in the index";
      ++builtins;
    }
  }
  EXPECT_EQ(builtins, 114u);
}

TEST_F(HelpFileTest, EveryPageCarriesBothLanguagesInUtf8) {
  const std::vector<std::string> pages = Pages();
  EXPECT_GE(pages.size(), 10u);
  for (const std::string& path : pages) {
    const std::string& content = files_->at(path);
    EXPECT_NE(content.find("charset=utf-8"), std::string::npos) << path;
    // Japanese text: hiragana or katakana, U+3040-U+30FF, is E3 81 80 - E3 83 BF in UTF-8.
    bool japanese = false;
    for (size_t i = 0; i + 1 < content.size() && !japanese; ++i) {
      const auto lead = static_cast<unsigned char>(content[i]), next = static_cast<unsigned char>(content[i + 1]);
      japanese = lead == 0xE3 && next >= 0x81 && next <= 0x83;
    }
    EXPECT_TRUE(japanese) << path << " has no Japanese text";
    EXPECT_NE(content.find(" the "), std::string::npos) << path << " has no English text";
    EXPECT_EQ(content.find("<!-- include "), std::string::npos) << path << ": a shared piece was not put in";
  }
}

// The English interface opens the Format page's topic where the Japanese one
// opens the pattern letters: both must show the letters.
TEST_F(HelpFileTest, EnglishFormatPageShowsThePatternLetters) {
  const Topic english = SplitTopic(Narrow(kTopicFormatEn));
  const Topic japanese = SplitTopic(Narrow(kTopicFormatFieldJa));
  ExpectTarget("English format page", english.page, japanese.anchor);
  ExpectTarget("English format page", english.page, "cpu");
}

}  // namespace
