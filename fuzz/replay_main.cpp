// Runs a fuzz target over stored inputs without libFuzzer, so that the seed
// corpus and every input that once crashed are replayed by the ordinary tests.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv);
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);

static std::vector<std::filesystem::path> inputs_in(const std::filesystem::path &place) {
  std::vector<std::filesystem::path> inputs;
  if (std::filesystem::is_directory(place)) {
    for (const auto &entry : std::filesystem::directory_iterator(place))
      if (entry.is_regular_file()) inputs.push_back(entry.path());
  } else if (std::filesystem::exists(place)) {
    inputs.push_back(place);
  }
  std::sort(inputs.begin(), inputs.end());
  return inputs;
}

int main(int argc, char **argv) {
  std::vector<std::filesystem::path> inputs;
  for (int k = 1; k < argc; k++)
    for (const auto &input : inputs_in(std::filesystem::absolute(argv[k]))) inputs.push_back(input);
  LLVMFuzzerInitialize(&argc, &argv);
  for (const auto &input : inputs) {
    std::ifstream in(input, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::fprintf(stderr, "replaying %s\n", input.c_str());
    LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t *>(bytes.data()), bytes.size());
  }
  std::printf("%zu inputs replayed\n", inputs.size());
  return inputs.empty() ? 1 : 0;
}
