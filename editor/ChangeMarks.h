// Marks laid over the text by whoever drives the editor, to show what the last
// change did: tinted stretches where text went in, a thin bar where text was
// taken out. They are positions in the text as it stands, so the editor drops
// them at any change of the text (FireChange); with none set, painting is
// exactly what it is without them.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "platform/Types.h"

namespace kelvane {

struct TChangeMarks {
  // From (included) to To (excluded), as caret positions (X a byte column, Y a
  // line). A span reaching a later line covers the line ends it passes.
  struct TSpan {
    TPoint From;
    TPoint To;
    friend bool operator==(const TSpan&, const TSpan&) = default;
  };
  std::vector<TSpan> Tinted;    // painted behind the text
  std::vector<TPoint> Removed;  // a bar before the character at each position
  TColor TintColor = RGB(255, 226, 140);
  TColor RemovedColor = RGB(214, 0, 0);

  bool Empty() const { return Tinted.empty() && Removed.empty(); }
};

// A background the driver lays under whole stretches of text, asked for line
// by line as rows are painted (so a long text costs only its rows in view),
// and kept across changes of the text: the driver answers for the text as it
// stands. Runs are byte columns Begin (included) to End (excluded); End past
// the line's length takes in its line-break cell.
struct TTintRun {
  int32_t Begin = 0;
  int32_t End = 0;
  TColor Color = 0;
};
using TLineTint = std::function<void(int32_t line, std::vector<TTintRun>& runs)>;

}  // namespace kelvane
