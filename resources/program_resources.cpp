// Holds the program's own pictures (:/logo.svg) and the icon font (:/fonts/fa-solid-900.ttf).
namespace elumira {
// Keeps the library non-empty for linkers that dislike empty archives.
int programResourcesLinked = 1;
} // namespace elumira
