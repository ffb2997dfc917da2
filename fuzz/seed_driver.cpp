// A stand-alone main() for a fuzz target in the ordinary build: it feeds every
// file of the folders (or the files) named on the command line to the target's
// LLVMFuzzerTestOneInput, each whole and cut short at a quarter, a half and
// three quarters of its length (a download that stopped early). A target whose
// sources no longer build, or whose checks fail on its own seeds, so fails the
// test suite instead of the next fuzzing session.
//
//   fuzz_<name> FOLDER_OR_FILE...
// Exits 0 when every input ran; 1, naming the input, when the target threw or
// when no input was found at all (an empty or misnamed seed folder).
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

namespace fs = std::filesystem;

// The regular files named: a folder's files in name order, so a failure
// repeats in the same order.
std::vector<fs::path> Inputs(int argc, char** argv) {
  std::vector<fs::path> files;
  for (int i = 1; i < argc; ++i) {
    const fs::path arg(argv[i]);
    if (fs::is_directory(arg)) {
      std::vector<fs::path> inFolder;
      for (const auto& entry : fs::directory_iterator(arg))
        if (entry.is_regular_file()) inFolder.push_back(entry.path());
      std::sort(inFolder.begin(), inFolder.end());
      files.insert(files.end(), inFolder.begin(), inFolder.end());
    } else if (fs::is_regular_file(arg)) {
      files.push_back(arg);
    } else {
      std::cerr << arg.string() << ": no such file or folder\n";
    }
  }
  return files;
}

std::vector<std::uint8_t> ReadAll(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {});
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<fs::path> files = Inputs(argc, argv);
  if (files.empty()) {
    std::cerr << argv[0] << ": no seed inputs found\n";
    return 1;
  }
  std::size_t runs = 0;
  for (const fs::path& file : files) {
    const std::vector<std::uint8_t> bytes = ReadAll(file);
    for (const std::size_t quarters : {4, 1, 2, 3}) {
      const std::size_t size = bytes.size() * quarters / 4;
      // A copy of exactly `size` bytes, so reading past the end is a fault the
      // memory checkers see, as it is under the fuzzer.
      std::vector<std::uint8_t> input(bytes.begin(), bytes.begin() + size);
      input.reserve(1);  // an empty input still has an address, as under the fuzzer
      try {
        LLVMFuzzerTestOneInput(input.data(), input.size());
      } catch (const std::exception& e) {
        std::cerr << file.string() << " (" << size << " of " << bytes.size()
                  << " bytes): uncaught exception: " << e.what() << "\n";
        return 1;
      } catch (...) {
        std::cerr << file.string() << " (" << size << " of " << bytes.size()
                  << " bytes): uncaught exception\n";
        return 1;
      }
      ++runs;
    }
  }
  std::cout << files.size() << " seed files, " << runs << " inputs ran\n";
  return 0;
}
