#include "maker/diagnostics.h"

#include "maker/printable.h"

#include <algorithm>

std::string formatDiagnostic(const Diagnostic& diagnostic) {
    std::string line = diagnostic.file;
    if (diagnostic.line > 0)
        line += ":" + std::to_string(diagnostic.line);
    line += ": " + diagnostic.field + ": ";
    if (diagnostic.severity == Severity::kWarning)
        line += "warning: ";
    return printable(line + diagnostic.message);
}

void Diagnostics::error(std::string file, int line, std::string field, std::string message) {
    diagnostics_.push_back(
        {Severity::kError, std::move(file), line, std::move(field), std::move(message)});
}

void Diagnostics::warning(std::string file, int line, std::string field, std::string message) {
    diagnostics_.push_back(
        {Severity::kWarning, std::move(file), line, std::move(field), std::move(message)});
}

bool Diagnostics::hasErrors() const {
    return errorCount() > 0;
}

int Diagnostics::errorCount() const {
    return static_cast<int>(
        std::count_if(diagnostics_.begin(), diagnostics_.end(),
                      [](const Diagnostic& d) { return d.severity == Severity::kError; }));
}

int Diagnostics::warningCount() const {
    return static_cast<int>(diagnostics_.size()) - errorCount();
}

std::vector<Diagnostic> Diagnostics::sorted() const {
    std::vector<Diagnostic> result = diagnostics_;
    std::stable_sort(result.begin(), result.end(), [](const Diagnostic& a, const Diagnostic& b) {
        if (a.file != b.file)
            return a.file < b.file;
        return a.line < b.line;
    });
    return result;
}
