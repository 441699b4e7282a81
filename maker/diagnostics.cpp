#include "maker/diagnostics.h"

#include "maker/printable.h"

#include <algorithm>

std::string formatDiagnostic(const Diagnostic& diagnostic) {
    std::string line = diagnostic.file;
    if (diagnostic.line > 0)
        line += ":" + std::to_string(diagnostic.line);
    line += ": ";
    if (!diagnostic.message.starts_with(diagnostic.field + " = "))
        line += diagnostic.field + ": ";
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

std::string questionNumbers(std::vector<int> indices) {
    std::sort(indices.begin(), indices.end());
    indices.erase(std::unique(indices.begin(), indices.end()), indices.end());
    std::vector<std::string> items;
    for (size_t first = 0, last; first < indices.size(); first = last + 1) {
        for (last = first; last + 1 < indices.size() && indices[last + 1] == indices[last] + 1;)
            ++last;
        if (last - first < 2)
            last = first; // two in a row read better as "2 and 3" than as a range
        items.push_back(std::to_string(indices[first] + 1) +
                        (last > first ? " to " + std::to_string(indices[last] + 1) : ""));
    }
    std::string text = indices.size() == 1 ? "question " : "questions ";
    for (size_t i = 0; i < items.size(); ++i)
        text += (i == 0 ? "" : i + 1 == items.size() ? " and " : ", ") + items[i];
    return text;
}

void QuestionFaults::add(int line, const std::string& field, const std::string& rule,
                         const std::string& what, int index) {
    auto group = std::find_if(groups_.begin(), groups_.end(), [&](const Group& g) {
        return g.field == field && g.rule == rule && g.what == what;
    });
    if (group == groups_.end())
        group = groups_.insert(groups_.end(), Group{line, field, rule, what, {}});
    group->indices.push_back(index);
}

void QuestionFaults::report(const std::string& file, Diagnostics& diagnostics) const {
    for (const Group& group : groups_) {
        diagnostics.error(file, group.line, group.field,
                          group.rule + ": " + questionNumbers(group.indices) +
                              (group.indices.size() == 1 ? " has " : " have ") + group.what);
    }
}
