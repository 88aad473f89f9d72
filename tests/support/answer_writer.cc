// Another program writing answer files into a folder, as pupils' computers
// do: answer_writer FOLDER COUNT PAUSE_MS writes PC0001.ans ... one after
// the other, each created, written and closed in place, PAUSE_MS apart.
// Every pupil chooses choice (number mod 3) + 1 of the first question.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: %s FOLDER COUNT PAUSE_MS\n", argv[0]);
    return 2;
  }
  const std::string folder = argv[1];
  const int count = std::atoi(argv[2]);
  const int pause = std::atoi(argv[3]);
  for (int i = 1; i <= count; ++i) {
    char name[32];
    std::snprintf(name, sizeof name, "PC%04d", i);
    std::string bytes =
        std::string(name) + "\r\npupil " + name + "\r\n[Q1R]\r\n";
    for (int c = 1; c <= 3; ++c) bytes += (i % 3 + 1 == c ? "1\r\n" : "0\r\n");
    bytes += "[END]\r\n";
    const std::string path = folder + "/" + name + ".ans";
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) return 1;
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
    if (pause > 0)
      std::this_thread::sleep_for(std::chrono::milliseconds(pause));
  }
  return 0;
}
