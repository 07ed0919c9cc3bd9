#pragma once
// One seam for every message box the program shows. Windows ask through it;
// tests script the answers and read what was asked; batch mode answers with
// the default button and writes "TITLE: TEXT" to standard error.

#include <QString>
#include <deque>
#include <vector>

namespace tolvi {

enum class MessageKind {
    Information,       // information icon, OK
    Critical,          // critical icon, OK
    Exclamation,       // warning icon, OK
    QuestionOkCancel,  // question icon, OK (default) and Cancel
    QuestionYesNo,     // question icon, Yes (default) and No
    WarningYesNo,      // exclamation icon, Yes (default) and No
};

enum class Answer { Ok, Cancel, Yes, No };

class Messages {
public:
    virtual ~Messages() = default;
    virtual Answer ask(MessageKind kind, const QString& title, const QString& text) = 0;

    void information(const QString& title, const QString& text) { ask(MessageKind::Information, title, text); }
    void critical(const QString& title, const QString& text) { ask(MessageKind::Critical, title, text); }
    bool okCancel(const QString& title, const QString& text) { return ask(MessageKind::QuestionOkCancel, title, text) == Answer::Ok; }
    bool yesNo(const QString& title, const QString& text) { return ask(MessageKind::QuestionYesNo, title, text) == Answer::Yes; }
    bool warningYesNo(const QString& title, const QString& text) { return ask(MessageKind::WarningYesNo, title, text) == Answer::Yes; }
};

// The answer a box gives when the user just presses Enter.
Answer defaultAnswer(MessageKind kind);

// Records every question and answers from a script (then the default).
class ScriptedMessages : public Messages {
public:
    struct Asked {
        MessageKind kind;
        QString title;
        QString text;
    };
    Answer ask(MessageKind kind, const QString& title, const QString& text) override;

    void script(Answer a) { answers_.push_back(a); }
    const std::vector<Asked>& asked() const { return asked_; }
    void clear() { asked_.clear(); answers_.clear(); }

private:
    std::vector<Asked> asked_;
    std::deque<Answer> answers_;
};

// Batch mode: default answers, "TITLE: TEXT" on standard error.
class StderrMessages : public Messages {
public:
    Answer ask(MessageKind kind, const QString& title, const QString& text) override;
    // Error messages (critical icon) written so far.
    int errorsShown() const { return errors_; }

private:
    int errors_ = 0;
};

}  // namespace tolvi
