#include "platform/messages.h"

#include <cstdio>

namespace tolvi {

Answer defaultAnswer(MessageKind kind)
{
    switch (kind) {
    case MessageKind::QuestionYesNo:
    case MessageKind::WarningYesNo:
        return Answer::Yes;
    default:
        return Answer::Ok;
    }
}

Answer ScriptedMessages::ask(MessageKind kind, const QString& title, const QString& text)
{
    asked_.push_back({kind, title, text});
    if (answers_.empty())
        return defaultAnswer(kind);
    const Answer a = answers_.front();
    answers_.pop_front();
    return a;
}

Answer StderrMessages::ask(MessageKind kind, const QString& title, const QString& text)
{
    QString flat = text;
    flat.replace(QLatin1String("\r\n"), QLatin1String(" ")).replace(QLatin1Char('\n'), QLatin1Char(' '));
    if (kind == MessageKind::Critical)
        ++errors_;
    std::fprintf(stderr, "%s: %s\n", title.toUtf8().constData(), flat.toUtf8().constData());
    std::fflush(stderr);
    return defaultAnswer(kind);
}

}  // namespace tolvi
