#pragma once

#include <QString>

namespace morvane {

struct AppContext;

// The HeVeA style order list `List1`: styles above the separator line are
// used, those below are not. The moves keep the separator at index 5 or above
// once it has reached index 5, so at most five styles are in use.

// The separator line: 26 hyphens.
QString styleListSeparator();

// "Up" and "Down": move the selected style one place, selected after the move.
void cmdUp_Click(AppContext& ctx);
void cmdDown_Click(AppContext& ctx);

// Drops the entry dragged from `source` at row `target` (the row under the
// pointer; past the end means the end). False when the drop is refused.
bool dropStyle(AppContext& ctx, int source, int target);

} // namespace morvane
