#pragma once

#include "widgets/Prompter.h"

#include <QList>

// Records every box and answers from queues; an empty queue answers the default
// button (or the first of `buttons`) and cancels file dialogs.
class FakePrompter : public Prompter
{
public:
    struct Shown
    {
        QMessageBox::Icon icon;
        QString title;
        QString text;
    };
    QList<Shown> shown;
    QList<QMessageBox::StandardButton> answers;
    QStringList openAnswers;
    QStringList saveAnswers;
    QStringList lastFilters;
    QString lastFolder; // where the last file dialog opened
    QList<double> numberAnswers; // an empty queue cancels

    FakePrompter() { Prompter::setInstance(this); }
    ~FakePrompter() override { Prompter::setInstance(nullptr); }

    QMessageBox::StandardButton message(QWidget *, QMessageBox::Icon icon, const QString &title, const QString &text,
                                        QMessageBox::StandardButtons buttons,
                                        QMessageBox::StandardButton defaultButton) override
    {
        shown.append({icon, title, text});
        if (!answers.isEmpty())
            return answers.takeFirst();
        if (defaultButton != QMessageBox::NoButton)
            return defaultButton;
        for (int b = QMessageBox::FirstButton; b <= QMessageBox::LastButton; b <<= 1)
            if (buttons & b)
                return QMessageBox::StandardButton(b);
        return QMessageBox::Ok;
    }
    QString openFileName(QWidget *, const QString &, const QString &dir, const QStringList &f) override
    {
        lastFilters = f;
        lastFolder = dir;
        return openAnswers.isEmpty() ? QString() : openAnswers.takeFirst();
    }
    QString saveFileName(QWidget *, const QString &, const QString &dir, const QStringList &f) override
    {
        lastFilters = f;
        lastFolder = dir;
        return saveAnswers.isEmpty() ? QString() : saveAnswers.takeFirst();
    }
    std::optional<double> number(QWidget *, const QString &, const QString &, double, double, double, int) override
    {
        if (numberAnswers.isEmpty())
            return std::nullopt;
        return numberAnswers.takeFirst();
    }
};
