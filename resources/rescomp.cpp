// Placeholder resource compiler: writes an empty resource section.
#include <cstdio>
#include <cstdint>

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: rescomp MANIFEST OUT.bin\n");
    return 2;
  }
  FILE* out = std::fopen(argv[2], "wb");
  if (!out) return 1;
  const char magic[4] = {'G', 'R', 'E', 'S'};
  const uint32_t count = 0;
  std::fwrite(magic, 1, 4, out);
  std::fwrite(&count, 4, 1, out);
  std::fclose(out);
  return 0;
}
