// The text of the demo books: composed from the book's seed, page by page, so that the files we write and the
// sentence search read the very same words.
#pragma once

#include "demo/catalogue.h"

#include <string>
#include <string_view>
#include <vector>

namespace demo {

struct Page
{
    enum class Kind { Title, Copyright, Preface, Contents, ChapterStart, Body };
    Kind kind = Kind::Body;
    std::string heading;            // chapter heading on a chapter's first page, page title on the front matter
    std::vector<std::string> lines; // lines as printed; an empty line separates paragraphs
    int largeLines = 0;             // leading lines printed large (the title on the title page)
    std::string text;               // the printed lines (heading included) joined by single spaces
    std::string folded;             // text with letters folded to lower case, same byte offsets
};

struct BookText
{
    std::vector<Page> pages;
    std::vector<std::string> labels; // the label printed on each page
};

BookText composeBook(const Book &book);

// "I", "II", ... for the front matter, then 1, 2, ... for the rest.
std::string pageLabel(int index, int romawi);
std::string romanNumeral(int number);

// One generated sentence of running text, sometimes about one of the topic words.
std::string composeSentence(Rng &rng, const std::vector<std::string> &topicWords);
std::vector<std::string> topicWordsOf(std::string_view topic);

// Lower-cases ASCII and Latin-1 letters of UTF-8 text without changing its length.
std::string foldCase(std::string_view utf8);
// Breaks text into lines of at most width characters at spaces.
std::vector<std::string> wrapWords(std::string_view text, int width);

constexpr int kLineWidth = 60;    // characters on a printed line
constexpr int kLinesPerPage = 30; // lines of running text on a page

} // namespace demo
