// Filling in the reference pattern, and the last reference kept.
#include "engine/reference_writer.h"

#include <algorithm>
#include <charconv>
#include <cstring>

namespace pellimar {

ReferenceFrame FrameOf(bool notSearched, bool useHR)
{
    if (notSearched)
        return {"<CS:Reference><IX->", useHR ? "<IX><HR>\r\n</CS>" : "<IX><CR>\r\n</CS>"};
    return {"<CS:Reference>", useHR ? "<HR>\r\n</CS>" : "<CR>\r\n</CS>"};
}

PageText::PageText(std::int32_t page, bool midLine)
{
    char* const end = bytes_ + sizeof bytes_;
    char* at = std::to_chars(bytes_, end, page).ptr;
    if (midLine) {
        *at++ = '-';
        at = std::to_chars(at, end, std::int64_t{page} + 1).ptr;
    }
    length_ = static_cast<std::size_t>(at - bytes_);
}

std::size_t CutPoint(std::string_view text, std::size_t most)
{
    std::size_t at = 0;
    while (at < most) {
        const std::size_t open = text.find('<', at);
        if (open >= most)
            return std::min(most, text.size());
        const bool escaped = open + 1 < text.size() && text[open + 1] == '<';
        const std::size_t close = escaped ? open + 1 : text.find('>', open + 1);
        if (close == std::string_view::npos || close + 1 > most)
            return open;
        at = close + 1;
    }
    return at;
}

namespace {

bool SameButThePage(const ReferenceSources& kept, ReferenceSources sources)
{
    sources.page = kept.page;
    sources.midLinePage = kept.midLinePage;
    return kept == sources;
}

}  // namespace

// When only the page differs from the kept reference's sources, only the
// page is written anew, unless the new page makes it too long; a page the
// written text does not show (none in the pattern, or one the cut left out)
// changes nothing. A cut that kept the page is made again, as the page may
// move it.
const std::string& ReferenceWriter::Remake(const ReferenceSources& sources)
{
    if (!SameButThePage(madeFrom_, sources)) {
        Build(sources);
    } else if (pageAt_ != std::string::npos) {
        if (!cut_)
            ReplacePage(sources);
        if (cut_ || written_.size() > longest_)
            Build(sources);
    }
    madeFrom_ = sources;
    return written_;
}

void ReferenceWriter::Build(const ReferenceSources& sources)
{
    const ReferenceFrame frame = FrameOf(notSearched_, sources.useHR);
    const PageText page(sources.page, sources.midLinePage);
    const std::string_view shown = pattern_.ShowsPage() ? page.View() : std::string_view();
    written_.assign(frame.open);
    textStart_ = written_.size();
    pageAt_ = pattern_.Fill(sources.levels->values, shown, written_);
    pageLength_ = shown.size();
    const std::size_t frameLength = frame.open.size() + frame.close.size();
    const std::size_t most = longest_ > frameLength ? longest_ - frameLength : 0;
    cut_ = written_.size() - textStart_ > most;
    if (cut_) {
        written_.resize(textStart_ + CutPoint(std::string_view(written_).substr(textStart_), most));
        // Where the cut goes is read from the text's first `most` bytes
        // alone: a page past them is left out whatever it is.
        if (pageAt_ != std::string::npos && pageAt_ - textStart_ > most)
            pageAt_ = std::string::npos;
    }
    textLength_ = written_.size() - textStart_;
    written_ += frame.close;
}

void ReferenceWriter::ReplacePage(const ReferenceSources& sources)
{
    if (pageAt_ == std::string::npos)
        return;
    const PageText text(sources.page, sources.midLinePage);
    const std::string_view page = text.View();
    // Mostly the digits only change: they are written over the old ones.
    if (page.size() == pageLength_)
        std::memcpy(written_.data() + pageAt_, page.data(), page.size());
    else
        written_.replace(pageAt_, pageLength_, page);
    textLength_ += page.size() - pageLength_;
    pageLength_ = page.size();
}

}  // namespace pellimar
