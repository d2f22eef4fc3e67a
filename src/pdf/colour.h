#pragma once
// Colour strings and the operators that select them.

#include <string>
#include <string_view>

namespace vx::pdf {

// Appends the line (with its CR) that makes `colour` the fill colour
// (stroke false: "rg"/"k") or the stroke colour (stroke true: "RG"/"K").
// Appends nothing for an empty colour. Accepted forms, blanks around them
// ignored: a colour name ("Black", "navy" ...), "#rrggbb", "%" + percent of
// grey, "@" + "r;g;b" or "c;m;y;k" with components 0..255. A part after a
// further ";" would name a tiling pattern, which this writer does not make:
// it is ignored and the colour itself is used. A name or form that cannot be
// read gives black, so that text is never lost to an invisible colour.
void AppendColourLine(std::string& out, std::string_view colour, bool stroke);

}  // namespace vx::pdf
