// What tests/data/cli_haiku.eud holds: a three-record history with Japanese text,
// loaded at point 2. Point 0 "春の海"; 1 types "ひねもす" after it (insert);
// 2 breaks the line there (enter); 3 replaces line 1 by two lines (change),
// which waits on the redo stack.
#pragma once

#include <array>
#include <string>

namespace kelvane::test {

constexpr const char* kHaikuFile = "cli_haiku.eud";
constexpr int kHaikuLoadedAt = 2;
constexpr int kHaikuTotal = 3;

// The text at each point as code page 932 bytes; the bytes of "表" end in 0x5C.
inline const std::array<std::string, 4> kHaikuCp932 = {
    "\x8f\x74\x82\xcc\x8a\x43",
    "\x8f\x74\x82\xcc\x8a\x43\x82\xd0\x82\xcb\x82\xe0\x82\xb7",
    "\x8f\x74\x82\xcc\x8a\x43\r\n\x82\xd0\x82\xcb\x82\xe0\x82\xb7",
    "\x8f\x74\x82\xcc\x8a\x43\r\n\x82\xcc\x82\xbd\x82\xe8\x95\x5c\r\n\x82\xcc\x82\xbd\x82\xe8\x82\xa9\x82\xc8",
};

inline const std::array<std::string, 4> kHaikuUtf8 = {
    "春の海",
    "春の海ひねもす",
    "春の海\r\nひねもす",
    "春の海\r\nのたり表\r\nのたりかな",
};

// The statistics after the status line, for a file named Name, at points 0 and 2
// (3 is the same as 2: the change stays a change, the insert stays on the undo stack).
inline std::string HaikuReport(const std::string& name, int point) {
  const bool undone = point < 1;  // the insert's record sits on the redo stack as a delete
  return "FileName\t" + name + "\ntotal\t: 3\n" + (undone ? "insert\t: 0\t [0%]\ndelete\t: 1\t [33%]\n"
                                                          : "insert\t: 1\t [33%]\ndelete\t: 0\t [0%]\n") +
         "enter\t: 1\t [33%]\nchange\t: 1\t [33%]\n";
}

}  // namespace kelvane::test
