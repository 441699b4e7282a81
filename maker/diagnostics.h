// Errors and warnings about a quiz, one line each: "FILE:LINE: field: message".
#pragma once

#include <string>
#include <vector>

enum class Severity { kError, kWarning };

struct Diagnostic {
    Severity severity = Severity::kError;
    std::string file;  // as the user named it
    int line = 0;      // 1-based; 0 when the problem has no line (an executable, a whole file)
    std::string field; // "title", "question[3].picture", "codes[2]", "PATCH 105", ...
    std::string message;
};

// "quiz.toml:12: question[2].answer: message", warnings with "warning: " before the message,
// and without the line number when there is none. Control characters come out escaped.
std::string formatDiagnostic(const Diagnostic& diagnostic);

class Diagnostics {
  public:
    void error(std::string file, int line, std::string field, std::string message);
    void warning(std::string file, int line, std::string field, std::string message);

    bool hasErrors() const;
    int errorCount() const;
    int warningCount() const;

    // In file order: by file, then line; the order of reporting otherwise.
    std::vector<Diagnostic> sorted() const;
    const std::vector<Diagnostic>& all() const { return diagnostics_; }

  private:
    std::vector<Diagnostic> diagnostics_;
};
