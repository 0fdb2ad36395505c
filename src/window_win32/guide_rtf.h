// The user guide, written in Markdown, as rich text for the guide's window:
// headings set large and bold, lists with their bullets and numbers, code
// and tables apart, each character kept (as RTF's Unicode escapes).
#pragma once

#include <string>

namespace pellimar {

// The RTF document of a Markdown text in UTF-8 (the guide's subset:
// headings, paragraphs, lists, fenced code, tables, `code` and **bold**).
std::string RtfOfMarkdown(const std::string& markdown);

}  // namespace pellimar
