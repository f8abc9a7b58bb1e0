#pragma once

#include <QString>

namespace sorvenka {

// The comment box lays out each of its lines as a whole, and the time that takes grows faster
// than the line: a one-line comment of a megabyte (only another tool writes such) would hold
// the window for a long time. A line longer than this is shown in pieces of this length, one
// per line; the box wraps every piece at its width as before, so the text looks the same.
inline constexpr qsizetype kLongestShownCommentLine = 2000;

// The text the box shows for a stored comment: CR LF as line breaks, over-long lines in
// pieces (never between the two halves of a surrogate pair).
QString ShownCommentText(const QString& stored);

}  // namespace sorvenka
