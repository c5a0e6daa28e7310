// Helpers that turn a book's seed record into its derived fields; shared by the catalogue's two source files.
#pragma once

#include "demo/catalogue.h"

#include <string>

namespace demo {

void fillCitations(Book &book, int serial);
std::string composeSynopsis(const Book &book, int serial);
std::string isbnFor(int publisherCode, int serial);

} // namespace demo
