#pragma once
// Text helpers of the HTML scanner: the HTML 3.2 entity names and colour
// values.

#include "html/HtmlSupport.h"

#include <string_view>

// The HTML 3.2 entities: "amp", "lt", "gt", "quot" and the ISO Latin-1 names
// "nbsp" (160) to "yuml" (255). Case-sensitive; -1 when unknown.
int EntityCode(std::string_view name);

// One of the 16 HTML 3.2 colour names (any case) or six hexadecimal digits,
// with or without "#", as a colour (red in the low byte). False for
// anything else.
bool ColorFromString(std::string_view text, TColor& color);
