// Editing operations with history: typing, pasting, line breaks, tabs,
// deletions, replacing and removing the selection, prefixing lines, box drops.
#include "editor/VeskEdit.h"

namespace kelvane {

}  // namespace kelvane
