#include "Prompter.h"

#include "support/Translation.h"

#include <QFileDialog>

namespace {
Prompter *g_installed = nullptr;
}

Prompter &Prompter::instance()
{
    static WidgetPrompter real;
    return g_installed ? *g_installed : real;
}

void Prompter::setInstance(Prompter *p)
{
    g_installed = p;
}

QMessageBox::StandardButton WidgetPrompter::message(QWidget *parent, QMessageBox::Icon icon,
                                                    const QString &title, const QString &text,
                                                    QMessageBox::StandardButtons buttons,
                                                    QMessageBox::StandardButton defaultButton)
{
    QMessageBox box(icon, lang::text(title), lang::text(text), buttons, parent);
    if (defaultButton != QMessageBox::NoButton)
        box.setDefaultButton(defaultButton);
    return QMessageBox::StandardButton(box.exec());
}

QString WidgetPrompter::openFileName(QWidget *parent, const QString &caption, const QString &dir,
                                     const QStringList &nameFilters)
{
    QFileDialog d(parent, lang::text(caption), dir);
    d.setAcceptMode(QFileDialog::AcceptOpen);
    d.setFileMode(QFileDialog::ExistingFile);
    d.setNameFilters(lang::text(nameFilters));
    if (d.exec() != QDialog::Accepted || d.selectedFiles().isEmpty())
        return {};
    return d.selectedFiles().first();
}

QString WidgetPrompter::saveFileName(QWidget *parent, const QString &caption, const QString &dir,
                                     const QStringList &nameFilters)
{
    QFileDialog d(parent, lang::text(caption), dir);
    d.setAcceptMode(QFileDialog::AcceptSave);
    d.setFileMode(QFileDialog::AnyFile);
    d.setNameFilters(lang::text(nameFilters));
    d.setDefaultSuffix(QString()); // the name is used exactly as typed
    if (d.exec() != QDialog::Accepted || d.selectedFiles().isEmpty())
        return {};
    return d.selectedFiles().first();
}
