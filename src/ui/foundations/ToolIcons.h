#pragma once

#include <QIcon>

// The tool bar's pictures, drawn so they look the same on every desktop theme.
namespace ToolIcons {

enum class Kind { Letter, Email, Search, Filter, MarkText, MarkAll, UnmarkAll, First, Last };

QIcon icon(Kind kind);

} // namespace ToolIcons
