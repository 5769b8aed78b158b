#pragma once

// The output run: writes the pages of every directory under the root that
// has a design, skipping pages whose text has not changed, and deletes the
// surplus pages of earlier runs.

#include <cstddef>
#include <string>
#include <vector>

#include "core/design/DirectoryDesign.h"
#include "core/output/WorkerPool.h"
#include "core/text/DateTime.h"

namespace tessaly {

class Project;

enum class OutputStep { Waiting, Listing, Planning, DefaultPage, SubPages, Surplus, Finished };

enum class PageState { Pending, Created, Updated, Skipped };

struct PageRow {
    std::string fileName; // code page 932
    std::string first; // item number, "最初" or empty
    std::string last; // item number, "最後" or empty
    PageState state = PageState::Pending;
};

struct OutputCounts {
    int processed = 0;
    int created = 0;
    int updated = 0;
    int skipped = 0;
    int deleted = 0;
};

// What the run reports while it works; a dialog or terminal shows it.
class OutputObserver {
public:
    virtual ~OutputObserver() = default;
    virtual void StepChanged(OutputStep) { }
    virtual void DirectoriesListed(const std::vector<std::string>& /*directories*/) { }
    virtual void DirectoryStarted(std::size_t /*index*/, const std::string& /*directory*/) { }
    virtual void PagesPlanned(const std::vector<PageRow>& /*rows*/) { }
    virtual void PageDone(std::size_t /*row*/, PageState) { }
    virtual void ProgressChanged(int /*position*/, int /*maximum*/) { }
    // Asked between steps; true stops the run at once.
    virtual bool ShouldAbort() { return false; }
};

struct OutputResult {
    enum class Status { Finished, Aborted, Failed };
    Status status = Status::Finished;
    std::string error; // the system's reason for Failed
    OutputCounts counts;
    std::vector<std::string> log; // code page 932 lines
};

// rootDirectory: code page 932; clock: for the log's time stamps and the
// designs' "today". jobs: threads that assemble pages, the caller's
// included; the observer is called on the caller's thread only, and the
// log, counts and files are the same for any number of jobs.
OutputResult RunOutput(const Project& project, const std::string& rootDirectory, const Clock& clock,
    OutputObserver& observer, unsigned jobs = DefaultJobs());

// The text of the row states as the page plan shows them.
const std::string& PageStateText(PageState state);
// The end-of-run message for finished and force-stopped runs.
const std::string& OutputFinishedMessage();
const std::string& OutputAbortedMessage();
const std::string& OutputStepText(OutputStep step);

// A page text as lines ended by CR LF, the form in which pages are written
// and compared.
std::string PageFileText(std::string text);

} // namespace tessaly

namespace tessaly {

// What "open the root" finds: the root's first page, or the message that
// says why there is none (code page 932).
struct RootPage {
    std::string page; // code page 932 path when found
    std::string message; // when not found
};

RootPage FindRootPage(const Project& project, const DesignDefaults& defaults);

} // namespace tessaly
