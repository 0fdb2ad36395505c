// Markdown to RTF, line by line.
#include "window_win32/guide_rtf.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace pellimar {
namespace {

// Body text in the system's reading font, code in its fixed-pitch one; a
// character neither has is shown in another font by the control itself.
constexpr const char* kHeader =
    "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1"
    "{\\fonttbl{\\f0\\fswiss\\fprq2\\fcharset0 Segoe UI;}{\\f1\\fmodern\\fprq1\\fcharset0 Consolas;}}"
    "\\viewkind4\\f0\\fs20\n";
constexpr int kTableWidth = 8400;  // twips, about the width of the box

// The next code point of UTF-8 at `at`, which moves past it; a byte that
// is no UTF-8 stands for itself as in Windows-1252's Latin-1 half.
std::uint32_t NextCodePoint(const std::string& text, std::size_t& at)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(at);
    const int length = lead < 0x80 ? 1 : (lead >> 5) == 6 ? 2 : (lead >> 4) == 14 ? 3 : (lead >> 3) == 30 ? 4 : 0;
    if (length <= 1 || at + static_cast<std::size_t>(length) > text.size()) {
        ++at;
        return lead;
    }
    std::uint32_t point = lead & (0x7F >> length);
    for (int i = 1; i < length; ++i) {
        if ((byte(at + static_cast<std::size_t>(i)) & 0xC0) != 0x80) {
            ++at;
            return lead;
        }
        point = point << 6 | (byte(at + static_cast<std::size_t>(i)) & 0x3F);
    }
    at += static_cast<std::size_t>(length);
    return point;
}

void AppendUnicodeEscape(std::string& rtf, std::uint32_t unit)
{
    rtf += "\\u" + std::to_string(static_cast<std::int16_t>(unit)) + "?";
}

// Plain text with RTF's special characters escaped.
std::string Escaped(const std::string& text)
{
    std::string rtf;
    for (std::size_t at = 0; at < text.size();) {
        const std::uint32_t point = NextCodePoint(text, at);
        if (point == '\\' || point == '{' || point == '}') {
            rtf += '\\';
            rtf += static_cast<char>(point);
        } else if (point < 0x80) {
            rtf += static_cast<char>(point);
        } else if (point < 0x10000) {
            AppendUnicodeEscape(rtf, point);
        } else {
            AppendUnicodeEscape(rtf, 0xD800 + ((point - 0x10000) >> 10));
            AppendUnicodeEscape(rtf, 0xDC00 + ((point - 0x10000) & 0x3FF));
        }
    }
    return rtf;
}

// `code` in the fixed-pitch font, **bold** in bold.
std::string Inline(const std::string& text)
{
    std::string rtf;
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t tick = text.find('`', at);
        const std::size_t stars = text.find("**", at);
        const std::size_t mark = std::min(tick, stars);
        const bool code = mark == tick;
        const std::size_t end = mark == std::string::npos ? mark : text.find(code ? "`" : "**", mark + (code ? 1 : 2));
        if (end == std::string::npos) {
            rtf += Escaped(text.substr(at));
            break;
        }
        rtf += Escaped(text.substr(at, mark - at));
        const std::size_t inner = mark + (code ? 1 : 2);
        rtf += (code ? "{\\f1\\fs18 " : "{\\b ") + Escaped(text.substr(inner, end - inner)) + "}";
        at = end + (code ? 1 : 2);
    }
    return rtf;
}

std::size_t Indentation(const std::string& line)
{
    return std::min(line.find_first_not_of(' '), line.size());
}

bool IsBlank(const std::string& line)
{
    return Indentation(line) == line.size();
}

// "- " or "* " (nothing for the marker), or "12. "; the item's text starts
// after the marker's end.
bool IsListItem(const std::string& line, std::string& marker, std::size_t& textStart)
{
    if (line.starts_with("- ") || line.starts_with("* ")) {
        marker.clear();
        textStart = 2;
        return true;
    }
    const std::size_t digits = std::min(line.find_first_not_of("0123456789"), line.size());
    if (digits == 0 || digits > 3 || line.compare(digits, 2, ". ") != 0)
        return false;
    marker = line.substr(0, digits + 1);
    textStart = digits + 2;
    return true;
}

std::vector<std::string> TableCells(const std::string& row)
{
    std::vector<std::string> cells;
    std::size_t at = row.find('|') + 1;
    while (at < row.size()) {
        std::size_t bar = at;
        for (bool inCode = false; bar < row.size() && (row[bar] != '|' || inCode); ++bar)
            inCode = row[bar] == '`' ? !inCode : inCode;
        if (bar >= row.size())
            break;
        std::string cell = row.substr(at, bar - at);
        const std::size_t first = cell.find_first_not_of(' ');
        cells.push_back(first == std::string::npos ? "" : cell.substr(first, cell.find_last_not_of(' ') - first + 1));
        at = bar + 1;
    }
    return cells;
}

class RtfWriter {
public:
    std::string Convert(const std::vector<std::string>& lines);

private:
    void FlushParagraph();
    void Heading(const std::string& line);
    void CodeBlock(const std::vector<std::string>& lines, std::size_t& at);
    void Table(const std::vector<std::string>& lines, std::size_t& at);

    std::string rtf_ = kHeader;
    std::string paragraph_;  // the text gathered for the paragraph under way
    std::string marker_;     // its list item's bullet or number, when it starts one
    bool inItem_ = false;    // it belongs to a list item
    bool startsItem_ = false;
};

void RtfWriter::FlushParagraph()
{
    if (paragraph_.empty())
        return;
    if (startsItem_)
        rtf_ += "\\pard\\fi-360\\li480\\tx480\\sa60 " + (marker_.empty() ? std::string("\\u8226?") : marker_) +
                "\\tab ";
    else if (inItem_)
        rtf_ += "\\pard\\li480\\sa60 ";
    else
        rtf_ += "\\pard\\sa120 ";
    rtf_ += Inline(paragraph_) + "\\par\n";
    paragraph_.clear();
    startsItem_ = false;
}

void RtfWriter::Heading(const std::string& line)
{
    const std::size_t level = line.find_first_not_of('#');
    static const char* const sizes[] = {"\\fs32", "\\fs26", "\\fs22"};
    rtf_ += std::string("\\pard\\sb240\\sa120\\keepn\\b") + sizes[std::min<std::size_t>(level, 3) - 1] + " " +
            Inline(line.substr(std::min(level + 1, line.size()))) + "\\b0\\fs20\\par\n";
}

// The lines up to the closing fence, as they stand, indented with the item
// they belong to.
void RtfWriter::CodeBlock(const std::vector<std::string>& lines, std::size_t& at)
{
    const std::size_t fence = Indentation(lines[at]);
    rtf_ += std::string("\\pard") + (inItem_ ? "\\li760" : "\\li360") + "\\sa120\\f1\\fs18 ";
    bool first = true;
    for (++at; at < lines.size() && lines[at].substr(Indentation(lines[at])).rfind("```", 0) != 0; ++at) {
        rtf_ += (first ? "" : "\\line ") + Escaped(lines[at].substr(std::min(fence, Indentation(lines[at]))));
        first = false;
    }
    rtf_ += "\\f0\\fs20\\par\n";
}

// Rows of cells, the first in bold, the columns as wide as their longest
// texts allow; the line of dashes under the first row is left out.
void RtfWriter::Table(const std::vector<std::string>& lines, std::size_t& at)
{
    std::vector<std::vector<std::string>> rows;
    for (; at < lines.size() && lines[at].starts_with("|"); ++at) {
        if (lines[at].find_first_not_of("|-: ") != std::string::npos)
            rows.push_back(TableCells(lines[at]));
    }
    --at;
    std::size_t columns = 0;
    for (const auto& row : rows)
        columns = std::max(columns, row.size());
    std::vector<std::size_t> longest(columns, 4);
    for (const auto& row : rows)
        for (std::size_t c = 0; c < row.size(); ++c)
            longest[c] = std::max(longest[c], std::min<std::size_t>(row[c].size(), 60));
    std::size_t total = 0;
    for (const std::size_t length : longest)
        total += length;
    std::string cellEdges;
    std::size_t edge = 0;
    for (const std::size_t length : longest) {
        edge += length * kTableWidth / std::max<std::size_t>(total, 1);
        cellEdges += "\\cellx" + std::to_string(edge);
    }
    for (std::size_t r = 0; r < rows.size(); ++r) {
        rtf_ += "\\trowd\\trgaph80" + cellEdges + "\n";
        for (std::size_t c = 0; c < columns; ++c) {
            const std::string cell = c < rows[r].size() ? Inline(rows[r][c]) : "";
            rtf_ += "\\pard\\intbl " + (r == 0 ? "{\\b " + cell + "}" : cell) + "\\cell ";
        }
        rtf_ += "\\row\n";
    }
    rtf_ += "\\pard\\sa120\\par\n";
}

std::string RtfWriter::Convert(const std::vector<std::string>& lines)
{
    for (std::size_t at = 0; at < lines.size(); ++at) {
        const std::string& line = lines[at];
        std::string marker;
        std::size_t textStart = 0;
        if (IsBlank(line)) {
            FlushParagraph();
        } else if (line.substr(Indentation(line)).starts_with("```")) {
            FlushParagraph();
            inItem_ = inItem_ && Indentation(line) > 0;
            CodeBlock(lines, at);
        } else if (line.starts_with("#")) {
            FlushParagraph();
            inItem_ = false;
            Heading(line);
        } else if (line.starts_with("|")) {
            FlushParagraph();
            inItem_ = false;
            Table(lines, at);
        } else if (IsListItem(line, marker, textStart)) {
            FlushParagraph();
            inItem_ = startsItem_ = true;
            marker_ = marker;
            paragraph_ = line.substr(textStart);
        } else {
            // A line that is not indented ends the list it follows.
            if (paragraph_.empty() && Indentation(line) == 0)
                inItem_ = false;
            paragraph_ += (paragraph_.empty() ? "" : " ") + line.substr(Indentation(line));
        }
    }
    FlushParagraph();
    return rtf_ + "}";
}

}  // namespace

std::string RtfOfMarkdown(const std::string& markdown)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start <= markdown.size()) {
        std::size_t end = markdown.find('\n', start);
        if (end == std::string::npos)
            end = markdown.size();
        std::string line = markdown.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(std::move(line));
        start = end + 1;
    }
    return RtfWriter().Convert(lines);
}

}  // namespace pellimar
