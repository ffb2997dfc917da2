// The program's soak as long as asked: switches over pictures in several
// formats and styles, the skin changed and the manager shown and hidden every
// CHANGE switches, and a line "switches,gdi,user,handles,private_kb" printed
// every SAMPLE switches (scripts/soak-program.sh plots them).
//
//   program_soak SWITCHES [CHANGE [SAMPLE]]
#include "../soak_win.h"

#include <cstdio>
#include <cwchar>

int wmain(int argc, wchar_t** argv) {
  const int switches = argc > 1 ? _wtoi(argv[1]) : 10000;
  const int change = argc > 2 ? _wtoi(argv[2]) : 500;
  const int sample = argc > 3 ? _wtoi(argv[3]) : 500;
  kv::test::ProgramSoak soak;
  std::printf("switches,gdi,user,handles,private_kb\n");
  const auto print = [](const kv::test::SoakSample& s) {
    std::printf("%d,%d,%d,%d,%zu\n", s.switches, s.gdi, s.user, s.handles, s.privateKb);
    std::fflush(stdout);
  };
  print(kv::test::TakeSample(0));
  soak.Run(switches, change, sample, print);
  return soak.prompts.shown.empty() ? 0 : 1;
}
