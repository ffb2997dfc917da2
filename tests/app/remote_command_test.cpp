#include "program/remote_command.h"

#include <gtest/gtest.h>

namespace kv::program {
namespace {

TEST(RemoteCommand, EveryCommandTravelsAndNothingElseIsTaken) {
  const RemoteCommand sent[] = {
      {RemoteVerb::Next, "", ""},
      {RemoteVerb::Previous, "", ""},
      {RemoteVerb::Random, "", ""},
      {RemoteVerb::Pause, "", ""},
      {RemoteVerb::Show, "", ""},
      {RemoteVerb::Apply,
       "C:\\Pictures\\Gr\xC3\xBC\xC3\x9F"
       "e.jpg",
       ""},
      {RemoteVerb::Apply, "D:\\a.png", "Lanczos3"},
      {RemoteVerb::Skin, "Steel", ""},
      {RemoteVerb::Skin, "C:\\Skins\\Lagoon\\Lagoon.ini", ""},
      {RemoteVerb::Manager, "", ""},
      {RemoteVerb::Options, "", ""},
      {RemoteVerb::Stats, "", ""},
      {RemoteVerb::Back, "", ""},
      {RemoteVerb::Next, "", "", 1},
      {RemoteVerb::Next, "", "", 16},
  };
  for (const RemoteCommand& c : sent) EXPECT_EQ(DecodeRemoteCommand(EncodeRemoteCommand(c)), c);
  EXPECT_EQ(RemoteVerbOf("NEXT"), RemoteVerb::Next);
  EXPECT_EQ(RemoteVerbOf("Stats"), RemoteVerb::Stats);
  EXPECT_EQ(RemoteVerbOf("BACK"), RemoteVerb::Back);

  for (const char* text : {"", "nxt", "next\n", "next\nfile\n", "apply", "apply\nfile",
                           "apply\n\nStretch", "apply\nfile\nStretch\nmore", "skin", "skin\n",
                           "skin\nSteel\n", "skin\nSteel\nStretch", "stats\nx", "back\nC:\\a.jpg",
                           "next\n0", "next\n02", "next\n17", "next\n+1", "next\n1\n",
                           "previous\n1", "random\n2"})
    EXPECT_FALSE(DecodeRemoteCommand(text).has_value()) << text;
  // A NUL would cut the name the receiver checks and uses.
  using namespace std::string_view_literals;
  for (const std::string_view text : {"apply\nC:\\a.jpg\0.exe\n"sv, "skin\nSteel\0"sv, "next\0"sv})
    EXPECT_FALSE(DecodeRemoteCommand(text).has_value()) << text;
}

}  // namespace
}  // namespace kv::program
