#pragma once

// The output run: writes the pages of every directory under the root that
// has a design, skipping pages whose text has not changed, and deletes the
// surplus pages of earlier runs.

#include <cstddef>
#include <string>
#include <vector>

#include "core/output/PagePlan.h"
#include "core/output/WorkerPool.h"
#include "core/text/DateTime.h"
#include "core/text/EncodedText.h"

namespace tessaly {

class Project;

enum class OutputStep { Waiting, Listing, Planning, DefaultPage, SubPages, Surplus, Finished };

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
    Utf8Text error; // the system's reason for Failed
    OutputCounts counts;
    std::vector<SjisText> log;
};

// rootDirectory: code page 932; clock: for the log's time stamps and the
// designs' "today". jobs: threads that assemble pages, the caller's
// included; the observer is called on the caller's thread only, and the
// log, counts and files are the same for any number of jobs.
OutputResult RunOutput(const Project& project, const std::string& rootDirectory, const Clock& clock,
    OutputObserver& observer, unsigned jobs = DefaultJobs());

// The end-of-run message for finished and force-stopped runs.
const std::string& OutputFinishedMessage();
const std::string& OutputAbortedMessage();
const std::string& OutputStepText(OutputStep step);

} // namespace tessaly
