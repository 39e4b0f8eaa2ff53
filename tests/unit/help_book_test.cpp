// The built help book "cvq9_cfg_soft_hlp_v14.htb": a zip archive that the
// help window reads. It must hold its project, contents and index files,
// every page they name, links that all land on a page or anchor of the book,
// and the program's own texts (messages, control names, template names)
// spelled exactly as the program shows them.
//
// The archive is read with the unzip tool.
#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "control_roster.h"
#include "libconv.h"
#include "library_file.h"
#include "param_messages.h"
#include "templates.h"

namespace {

const char kBookPath[] = CVQ9_BINARY_DIR "/cvq9_cfg_soft_hlp_v14.htb";

std::string ShellQuote(const std::string &text)
{
    std::string quoted = "'";
    for (char c : text) {
        if (c == '\'')
            quoted += "'\\''";
        else
            quoted += c;
    }
    return quoted + "'";
}

// Runs `command`, returns its standard output; `status` gets the exit status.
std::string RunCommand(const std::string &command, int &status)
{
    std::string output;
    FILE *pipe = popen(command.c_str(), "r");
    if (!pipe) {
        status = -1;
        return output;
    }
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0)
        output.append(buffer, n);
    status = pclose(pipe);
    return output;
}

std::string Lower(std::string text)
{
    for (char &c : text)
        if (c >= 'A' && c <= 'Z')
            c = char(c - 'A' + 'a');
    return text;
}

bool EndsWith(const std::string &text, const std::string &tail)
{
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

// One link target: a page of the book and an anchor in it (possibly empty).
struct Target {
    std::string page;
    std::string anchor;
};

Target SplitTarget(const std::string &value, const std::string &current_page)
{
    Target target;
    std::string::size_type hash = value.find('#');
    target.page = value.substr(0, hash);
    if (hash != std::string::npos)
        target.anchor = value.substr(hash + 1);
    if (target.page.empty())
        target.page = current_page;
    return target;
}

// Values of attribute `attribute` in the tags named `tag` (case-insensitive).
std::vector<std::string> AttributeValues(const std::string &html, const std::string &tag, const std::string &attribute)
{
    std::vector<std::string> values;
    const std::regex tag_re("<" + tag + "\\b[^>]*>", std::regex::icase);
    const std::regex attribute_re("\\b" + attribute + "\\s*=\\s*\"([^\"]*)\"", std::regex::icase);
    for (auto t = std::sregex_iterator(html.begin(), html.end(), tag_re); t != std::sregex_iterator(); ++t) {
        const std::string whole = t->str();
        std::smatch m;
        if (std::regex_search(whole, m, attribute_re))
            values.push_back(m[1].str());
    }
    return values;
}

// The "Local" targets of a contents or index file: <param name="Local" value="...">.
std::vector<std::string> SitemapLocals(const std::string &sitemap)
{
    std::vector<std::string> locals;
    const std::regex param_re("<param\\s+name\\s*=\\s*\"Local\"\\s+value\\s*=\\s*\"([^\"]*)\"", std::regex::icase);
    for (auto m = std::sregex_iterator(sitemap.begin(), sitemap.end(), param_re); m != std::sregex_iterator(); ++m)
        locals.push_back((*m)[1].str());
    return locals;
}

// The visible text of a page: tags become spaces, the few entities used are
// decoded, runs of white space become one space.
std::string VisibleText(const std::string &html)
{
    std::string text = std::regex_replace(html, std::regex("<[^>]*>"), " ");
    const std::pair<const char *, const char *> entities[] = {
        {"&nbsp;", " "}, {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&amp;", "&"}};
    for (const auto &entity : entities) {
        std::string::size_type at;
        while ((at = text.find(entity.first)) != std::string::npos)
            text.replace(at, std::string(entity.first).size(), entity.second);
    }
    std::string collapsed;
    bool space = false;
    for (char c : text) {
        if (c == ' ' || c == '\n' || c == '\r' || c == '\t') {
            space = true;
            continue;
        }
        if (space && !collapsed.empty())
            collapsed += ' ';
        space = false;
        collapsed += c;
    }
    return collapsed;
}

// The lines of a message as the program shows it ("\n" separates them).
std::vector<std::string> MessageLines(const std::string &message)
{
    std::vector<std::string> lines;
    std::string::size_type start = 0;
    while (true) {
        std::string::size_type end = message.find('\n', start);
        std::string line = message.substr(start, end - start);
        if (!line.empty())
            lines.push_back(line);
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    return lines;
}

class HelpBook : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        members_ = new std::map<std::string, std::string>;
        int status = 0;
        std::string listing = RunCommand("unzip -Z1 " + ShellQuote(kBookPath) + " 2>/dev/null", status);
        readable_ = status == 0;
        if (!readable_)
            return;
        std::string::size_type start = 0;
        while (start < listing.size()) {
            std::string::size_type end = listing.find('\n', start);
            std::string name = listing.substr(start, end - start);
            start = end == std::string::npos ? listing.size() : end + 1;
            if (name.empty() || name.back() == '/')
                continue;
            int member_status = 0;
            (*members_)[name] = RunCommand("unzip -p " + ShellQuote(kBookPath) + " " + ShellQuote(name), member_status);
            if (member_status != 0)
                readable_ = false;
        }
    }

    static void TearDownTestSuite()
    {
        delete members_;
        members_ = nullptr;
    }

    void SetUp() override
    {
        ASSERT_TRUE(readable_) << "the help book cannot be read: " << kBookPath
                               << " (it is built by the target cvq9_help_book)";
    }

    static const std::map<std::string, std::string> &Members() { return *members_; }

    static bool Has(const std::string &name) { return members_->count(name) != 0; }

    static const std::string &Member(const std::string &name) { return members_->at(name); }

    static std::vector<std::string> Pages()
    {
        std::vector<std::string> pages;
        for (const auto &member : *members_)
            if (EndsWith(Lower(member.first), ".html") || EndsWith(Lower(member.first), ".htm"))
                pages.push_back(member.first);
        return pages;
    }

    // The single project file and one of its [OPTIONS] values.
    static std::string ProjectName()
    {
        for (const auto &member : *members_)
            if (EndsWith(Lower(member.first), ".hhp"))
                return member.first;
        return std::string();
    }

    static std::string ProjectOption(const std::string &key)
    {
        const std::string &project = Member(ProjectName());
        std::regex option_re("(^|\\n)" + key + "=([^\\r\\n]*)");
        std::smatch m;
        if (std::regex_search(project, m, option_re))
            return m[2].str();
        return std::string();
    }

    static std::set<std::string> Anchors(const std::string &page)
    {
        std::set<std::string> anchors;
        for (const std::string &name : AttributeValues(Member(page), "a", "name"))
            anchors.insert(name);
        return anchors;
    }

    // Empty when `target` lands on a page of the book and, if given, an
    // anchor of that page; otherwise what is wrong with it.
    static std::string CheckTarget(const Target &target)
    {
        if (!Has(target.page))
            return "no page " + target.page;
        if (!target.anchor.empty() && Anchors(target.page).count(target.anchor) == 0)
            return "no anchor " + target.anchor + " in " + target.page;
        return std::string();
    }

    static std::string PageText(const std::string &page) { return VisibleText(Member(page)); }

    static std::string BookText()
    {
        std::string all;
        for (const std::string &page : Pages())
            all += PageText(page) + " ";
        return all;
    }

    static std::map<std::string, std::string> *members_;
    static bool readable_;
};

std::map<std::string, std::string> *HelpBook::members_ = nullptr;
bool HelpBook::readable_ = false;

// --- The archive holds what the help window needs --------------------------

TEST_F(HelpBook, HoldsOneProjectFileAtItsTop)
{
    int projects = 0;
    for (const auto &member : Members())
        if (EndsWith(Lower(member.first), ".hhp")) {
            ++projects;
            EXPECT_EQ(member.first.find('/'), std::string::npos) << member.first;
        }
    EXPECT_EQ(projects, 1);
}

TEST_F(HelpBook, ProjectNamesContentsIndexAndStartPageOfTheBook)
{
    ASSERT_FALSE(ProjectName().empty());
    const std::string contents = ProjectOption("Contents file");
    const std::string index = ProjectOption("Index file");
    const std::string start = ProjectOption("Default topic");
    EXPECT_TRUE(EndsWith(Lower(contents), ".hhc")) << contents;
    EXPECT_TRUE(EndsWith(Lower(index), ".hhk")) << index;
    EXPECT_TRUE(Has(contents)) << contents;
    EXPECT_TRUE(Has(index)) << index;
    EXPECT_TRUE(Has(start)) << start;
    EXPECT_EQ(ProjectOption("Title"), "Corvana Q9 Configuration software Help");
}

TEST_F(HelpBook, ProjectFileListIsExactlyThePagesOfTheBook)
{
    const std::string &project = Member(ProjectName());
    std::string::size_type files = project.find("[FILES]");
    ASSERT_NE(files, std::string::npos);
    std::set<std::string> listed;
    std::string::size_type start = project.find('\n', files);
    while (start != std::string::npos && start + 1 < project.size()) {
        std::string::size_type end = project.find('\n', start + 1);
        std::string line = project.substr(start + 1, end == std::string::npos ? std::string::npos : end - start - 1);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!line.empty() && line[0] == '[')
            break;
        if (!line.empty())
            listed.insert(line);
        start = end;
    }
    std::vector<std::string> pages = Pages();
    EXPECT_EQ(listed, std::set<std::string>(pages.begin(), pages.end()));
}

// --- Contents ---------------------------------------------------------------

TEST_F(HelpBook, EveryContentsEntryIsAPageOrAnchorOfTheBook)
{
    const std::vector<std::string> locals = SitemapLocals(Member(ProjectOption("Contents file")));
    ASSERT_GT(locals.size(), 20u);
    for (const std::string &local : locals)
        EXPECT_EQ(CheckTarget(SplitTarget(local, std::string())), "") << local;
}

TEST_F(HelpBook, EveryPageIsInTheContents)
{
    // The search of the help window goes through the pages of the contents.
    std::set<std::string> in_contents;
    for (const std::string &local : SitemapLocals(Member(ProjectOption("Contents file"))))
        in_contents.insert(SplitTarget(local, std::string()).page);
    for (const std::string &page : Pages())
        EXPECT_EQ(in_contents.count(page), 1u) << page << " is not reachable from the contents";
}

TEST_F(HelpBook, ContentsStartWithTheStartPage)
{
    const std::vector<std::string> locals = SitemapLocals(Member(ProjectOption("Contents file")));
    ASSERT_FALSE(locals.empty());
    EXPECT_EQ(locals.front(), ProjectOption("Default topic"));
}

// --- Index ------------------------------------------------------------------

TEST_F(HelpBook, EveryIndexEntryIsAPageOrAnchorOfTheBook)
{
    const std::vector<std::string> locals = SitemapLocals(Member(ProjectOption("Index file")));
    ASSERT_GT(locals.size(), 50u);
    for (const std::string &local : locals)
        EXPECT_EQ(CheckTarget(SplitTarget(local, std::string())), "") << local;
}

// --- Links ------------------------------------------------------------------

TEST_F(HelpBook, EveryLinkOfEveryPageLandsOnAPageOrAnchorOfTheBook)
{
    size_t links = 0;
    for (const std::string &page : Pages()) {
        for (const std::string &href : AttributeValues(Member(page), "a", "href")) {
            ++links;
            EXPECT_EQ(CheckTarget(SplitTarget(href, page)), "") << "link \"" << href << "\" in " << page;
        }
    }
    EXPECT_GT(links, 100u);
}

TEST_F(HelpBook, EveryPictureOfEveryPageIsInTheBook)
{
    for (const std::string &page : Pages())
        for (const std::string &src : AttributeValues(Member(page), "img", "src"))
            EXPECT_TRUE(Has(src)) << "picture \"" << src << "\" in " << page;
}

TEST_F(HelpBook, AnchorsAreUniqueWithinAPage)
{
    for (const std::string &page : Pages()) {
        std::vector<std::string> names = AttributeValues(Member(page), "a", "name");
        std::set<std::string> unique(names.begin(), names.end());
        EXPECT_EQ(unique.size(), names.size()) << page;
    }
}

// --- Pages ------------------------------------------------------------------

TEST_F(HelpBook, PagesAreSevenBitTextWithATitle)
{
    // Plain ASCII reads the same whatever character set the help window
    // assumes; everything else is written as an entity.
    for (const auto &member : Members()) {
        for (unsigned char c : member.second)
            if (c >= 0x80) {
                ADD_FAILURE() << member.first << " holds a byte above 0x7F";
                break;
            }
    }
    for (const std::string &page : Pages())
        EXPECT_TRUE(std::regex_search(Member(page), std::regex("<title>[^<]+</title>", std::regex::icase))) << page;
}

TEST_F(HelpBook, PagesCloseTheirTables)
{
    for (const std::string &page : Pages()) {
        const std::string &html = Member(page);
        auto count = [&](const char *pattern) {
            std::regex re(pattern, std::regex::icase);
            return std::distance(std::sregex_iterator(html.begin(), html.end(), re), std::sregex_iterator());
        };
        EXPECT_EQ(count("<table\\b"), count("</table>")) << page;
        EXPECT_EQ(count("<ul\\b"), count("</ul>")) << page;
        EXPECT_EQ(count("<ol\\b"), count("</ol>")) << page;
        EXPECT_EQ(count("<pre\\b"), count("</pre>")) << page;
    }
}

// --- The program's own texts ------------------------------------------------

TEST_F(HelpBook, ListsEveryCheckMessageAsTheProgramShowsIt)
{
    ASSERT_TRUE(Has("msg_check.html"));
    const std::string text = PageText("msg_check.html");
    const uint8_t codes[] = {0, 2, 3, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 23};
    for (uint8_t code : codes) {
        std::string message = ParamErrorText(code, 0);
        if (ParamErrorNeedsLenght(code)) {
            // The number is the record's string length: the page shows the
            // words around it.
            message = ParamErrorFormat(code);
            message = message.substr(0, message.find("%d"));
        }
        for (const std::string &line : MessageLines(message))
            EXPECT_NE(text.find(line), std::string::npos) << "code " << int(code) << ": " << line;
    }
    EXPECT_NE(text.find(ParamErrorFormat(99)), std::string::npos) << "Unknown error";
    EXPECT_NE(text.find("Group g - Control c"), std::string::npos);
}

TEST_F(HelpBook, ListsTheFileMessagesAsTheProgramShowsThem)
{
    ASSERT_TRUE(Has("msg_files.html"));
    const std::string text = PageText("msg_files.html");
    for (const std::string &line : MessageLines(LIBRARY_CONVERSION_NOTICE))
        EXPECT_NE(text.find(line), std::string::npos) << line;
    for (const char *message : {"Unable to read ", "Unable to write/overwrite ", "Unable to create "})
        EXPECT_NE(text.find(message), std::string::npos) << message;
    const std::string book = BookText();
    EXPECT_NE(book.find(LIBRARY_FILE_ERROR_TITLE), std::string::npos);
    EXPECT_NE(book.find(LIBRARY_CONVERSION_TITLE), std::string::npos);
}

TEST_F(HelpBook, ListsEveryOtherMessageAsTheProgramShowsIt)
{
    struct Listed {
        const char *page;
        const char *message;
    };
    const Listed listed[] = {
        {"msg_midi.html", "No MIDI In device detected"},
        {"msg_midi.html", "No MIDI Out device detected"},
        {"msg_midi.html", "There are still data into the input buffer"},
        {"msg_midi.html", "Invalid request"},
        {"msg_midi.html", "Bad Acknoledge received"},
        {"msg_midi.html", "No answer received"},
        {"msg_midi.html", "Missing or Uncomplete Sysex Answer"},
        {"msg_midi.html", "Empty input buffer"},
        {"msg_presets.html", "Cannot load preset file hlvlib.xcq\nPlease copy this file to "},
        {"msg_presets.html", "No parameter found"},
        {"msg_presets.html", "Cannot open Preset File\nhlvlib.xcq missing"},
        {"msg_presets.html", "Preset File corrupted : preset name not found"},
        {"msg_presets.html", "Preset File corrupted (name chunk too large)"},
        {"msg_presets.html", "Preset File corrupted : Parameter name not found"},
        {"msg_presets.html", "Preset File corrupted (Chunk name too large)"},
        {"msg_presets.html", "Preset not found"},
        {"msg_presets.html", "Library not found"},
        {"msg_presets.html", "Control not found"},
        {"msg_presets.html", "Preset file corrupted : LCD string not found"},
        {"msg_presets.html", "Preset File corrupted (sh name too long)"},
        {"msg_presets.html", "Preset file corrupted : MIDI Event not found"},
        {"msg_presets.html", "Preset File corrupted (msg name too long)"},
        {"msg_presets.html", "Preset File corrupted : MIDI Position not found"},
        {"msg_curves.html", "Uncorrect number of values\n(128 values required, found "},
        {"msg_curves.html", "Uncorrect value found at line "},
        {"msg_curves.html", "All values must be between 0 and 127"},
        {"messages.html", "Select Group 0 to assign Transport Buttons"},
        {"messages.html", "Select Group 0 to manage Transport Buttons"},
    };
    for (const Listed &entry : listed) {
        ASSERT_TRUE(Has(entry.page)) << entry.page;
        const std::string text = PageText(entry.page);
        for (std::string line : MessageLines(entry.message)) {
            // A message that continues with a number or a path ends in a
            // space on screen; the page shows the placeholder after it.
            while (!line.empty() && line.back() == ' ')
                line.pop_back();
            EXPECT_NE(text.find(line), std::string::npos) << entry.page << ": " << line;
        }
    }
}

TEST_F(HelpBook, NamesTheMessageBoxCaptionsAsTheProgramShowsThem)
{
    ASSERT_TRUE(Has("messages.html"));
    const std::string text = PageText("messages.html");
    for (const std::string &caption :
         {std::string("MIDI error"), std::string("CVQ9 MIDI Error"), std::string("Parameter check"),
          std::string(LIBRARY_FILE_ERROR_TITLE), std::string(LIBRARY_CONVERSION_TITLE),
          std::string(PRESET_LIBRARY_ERROR_CAPTION), std::string(PRESET_ERROR_CAPTION), std::string("Curve error"),
          std::string("Info")})
        EXPECT_NE(text.find(caption), std::string::npos) << caption;
}

TEST_F(HelpBook, ControlReferenceNamesEveryControlAsTheProgramDoes)
{
    ASSERT_TRUE(Has("controls.html"));
    const std::string text = PageText("controls.html");
    for (unsigned index = 0; index <= 66; ++index) {
        const std::string row = std::to_string(index) + " " + ControlName(index) + " ";
        EXPECT_NE(text.find(row), std::string::npos) << row;
    }
}

TEST_F(HelpBook, NamesEveryNamedControllerTemplateAsTheListShowsIt)
{
    ASSERT_TRUE(Has("presets.html"));
    const std::string text = PageText("presets.html");
    // Controller entries 5..132; those that carry more than "CC#n :" have a
    // name the page lists.
    for (unsigned index = 5; index <= 132; ++index) {
        const std::string label = StdTemplates[index].label;
        const std::string plain = "CC#" + std::to_string(index - 5) + " :";
        if (label != plain) {
            EXPECT_NE(text.find(label), std::string::npos) << label;
        }
    }
    for (unsigned index : {0u, 1u, 2u, 3u, 4u, 133u, 193u, 260u, 261u, 388u})
        EXPECT_NE(BookText().find(StdTemplates[index].label), std::string::npos) << StdTemplates[index].label;
}

}  // namespace
