// The built help book, a zip archive read here with the unzip tool: every page
// is in its contents, and every entry of the contents and the index, link and
// picture lands on a page, an anchor or a picture of the book. (That the help
// window opens the book is seen end to end.)
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "test_support.h"

static const std::string kBook = CVQ9_BINARY_DIR "/cvq9_cfg_soft_hlp_v14.htb";

TEST(HelpBook, EveryEntryLinkAndPictureLandsInTheBook)
{
    int status = -1;
    std::map<std::string, std::string> members;
    const std::string listing = CommandOutput("unzip -Z1 '" + kBook + "' 2>/dev/null", status);
    ASSERT_EQ(status, 0) << "the help book cannot be read: " << kBook;
    std::set<std::string> pages;
    std::string contents, index;  // the book's one contents file and one index file
    for (const std::string &name : RegexMatches(listing, "([^\\n]+)")) {
        members[name] = CommandOutput("unzip -p '" + kBook + "' '" + name + "'", status);
        ASSERT_EQ(status, 0) << name;
        if (std::regex_search(name, std::regex("\\.html?$", std::regex::icase)))
            pages.insert(name);
        if (std::regex_search(name, std::regex("\\.hhc$")))
            contents = name;
        if (std::regex_search(name, std::regex("\\.hhk$")))
            index = name;
    }
    // A target is a page of the book and, when given, an anchor of it.
    auto lands = [&members](std::string target, const std::string &from) {
        const size_t hash = target.find('#');
        const std::string anchor = hash == std::string::npos ? "" : target.substr(hash + 1);
        std::string page = target.substr(0, hash);
        if (page.empty())
            page = from;
        if (!members.count(page))
            return false;
        const std::vector<std::string> names = RegexMatches(members[page], "<a\\b[^>]*\\bname\\s*=\\s*\"([^\"]*)\"");
        return anchor.empty() || std::find(names.begin(), names.end(), anchor) != names.end();
    };
    const std::string local = "<param\\s+name\\s*=\\s*\"Local\"\\s+value\\s*=\\s*\"([^\"]*)\"";
    const std::vector<std::string> entries = RegexMatches(members[contents], local),
                                   keys = RegexMatches(members[index], local);
    ASSERT_GT(entries.size(), 20u);
    EXPECT_GT(keys.size(), 50u);
    std::set<std::string> in_contents;
    for (const std::string &entry : entries) {
        EXPECT_TRUE(lands(entry, "")) << "contents: " << entry;
        in_contents.insert(entry.substr(0, entry.find('#')));
    }
    for (const std::string &key : keys)
        EXPECT_TRUE(lands(key, "")) << "index: " << key;
    size_t links = 0;
    for (const std::string &page : pages) {
        const std::string &html = members[page];
        EXPECT_EQ(in_contents.count(page), 1u) << page << " is not reachable from the contents";
        for (const std::string &href : RegexMatches(html, "<a\\b[^>]*\\bhref\\s*=\\s*\"([^\"]*)\"")) {
            EXPECT_TRUE(lands(href, page)) << "link " << href << " in " << page;
            ++links;
        }
        for (const std::string &src : RegexMatches(html, "<img\\b[^>]*\\bsrc\\s*=\\s*\"([^\"]*)\""))
            EXPECT_EQ(members.count(src), 1u) << "picture " << src << " in " << page;
    }
    EXPECT_GT(links, 100u);
}
