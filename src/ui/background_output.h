#pragma once

#include <functional>

#include "base/progress.h"
#include "export/export_result.h"

namespace quib {

// Runs work on a worker thread while this thread keeps serving events; the worker's progress is
// shown on shown (and its cancel button reaches the worker) from this thread only. Returns when
// the work is done. The work must only read what this thread does not change meanwhile: callers
// keep the project's window disabled while it runs.
ExportResult runInBackground(Progress& shown, const std::function<ExportResult(Progress&)>& work);

}  // namespace quib
