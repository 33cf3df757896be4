// A jump through a history (one frozen batch, as the history bar's thumb
// makes it) must leave the editor exactly as stepping the same records one at
// a time on a live window does: text, both stacks, caret, selection, view and
// scroll bars, and every line's derived strings as a fresh scan gives them.
#pragma once

#include <cstdint>
#include <string>

namespace kelvane::test {

// Loads the undo file into two players and makes Jumps random jumps (seeded)
// on both, comparing them field by field after each. Records failures.
void ExpectJumpsEqualSteps(const std::string& undoFile, uint32_t seed, int jumps);

}  // namespace kelvane::test
