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
// and without the line number when there is none; a message that starts with its own key and
// value ("reward = ...") comes without the field. Control characters come out escaped.
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

// "question 3", "questions 2, 5 and 7", "questions 1 to 4 and 9": question indices (from 0) as
// the board numbers them, in order, runs of three or more as one range.
std::string questionNumbers(std::vector<int> indices);

// The faults that one setting of the quiz makes on several questions, said once each, on the
// line of the setting: "reward = \"message\" needs a reward_text on every question: questions 1
// to 12 have none" rather than one line per question. A fault that differs per question (a
// file, a text) is no group and goes to Diagnostics as it is.
class QuestionFaults {
  public:
    // Question `index` breaks `rule`, having `what` ("none", "a picture"); the first question
    // added to a rule gives its line, so `line` is the setting's when there is one.
    void add(int line, const std::string& field, const std::string& rule, const std::string& what,
             int index);
    // One error per rule, in the order the rules were first met.
    void report(const std::string& file, Diagnostics& diagnostics) const;

  private:
    struct Group {
        int line = 0;
        std::string field, rule, what;
        std::vector<int> indices;
    };
    std::vector<Group> groups_;
};
