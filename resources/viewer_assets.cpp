// Holds the embedded viewer assets archive (:/viewerzip); the archive itself is built by CMake.
namespace elumira {
// Keeps the library non-empty for linkers that dislike empty archives.
int viewerAssetsLinked = 1;
} // namespace elumira
