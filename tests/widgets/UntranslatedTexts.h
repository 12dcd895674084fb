#pragma once

// What a window shows that is still Chinese: for the tests that open every window in
// English. Reads titles, tool tips, labels, buttons, menus and actions, list items and
// table cells (values included, which views show translated), and reports each text
// holding a Chinese character as "where: text".

#include "support/Translation.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QAction>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QSpinBox>
#include <QTabBar>
#include <QTextEdit>
#include <QToolBar>

#include <functional>

namespace untranslated {

// A text a widget shows: how to read it and, where it may be replaced, how to set it.
// Without a setter the text is a value and only its painting is English.
struct Text
{
    QString where;
    QString text;
    std::function<void(const QString &)> set;
};

// Objects marked so keep their text: the language names in the language menu.
const char KeepText[] = "tarnikKeepText";

bool kept(const QObject *o)
{
    return o->property(KeepText).toBool();
}

inline void actionTexts(QAction *a, const QString &where, QList<Text> &out)
{
    // 中文 in the language menu is named in its own words on purpose.
    if (a->isSeparator() || a->objectName() == QLatin1String("mnuLanguageChinese"))
        return;
    const QString at = where + QLatin1Char('/')
        + (a->objectName().isEmpty() ? QStringLiteral("action") : a->objectName());
    out.append({at, a->text(), [a](const QString &t) { a->setText(t); }});
    out.append({at + QStringLiteral(".toolTip"), a->toolTip(), [a](const QString &t) { a->setToolTip(t); }});
    out.append({at + QStringLiteral(".statusTip"), a->statusTip(), [a](const QString &t) { a->setStatusTip(t); }});
}

inline void modelTexts(QAbstractItemView *view, const QString &where, QList<Text> &out)
{
    const QAbstractItemModel *m = view->model();
    if (!m)
        return;
    // Enough for every table and list of the program; a long list is not walked whole.
    const int rows = qMin(m->rowCount(view->rootIndex()), 1000);
    const int columns = qMin(m->columnCount(view->rootIndex()), 50);
    for (int c = 0; c < columns; ++c)
        out.append({where + QStringLiteral(".header"), m->headerData(c, Qt::Horizontal).toString(), {}});
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c)
            out.append({where + QStringLiteral("[%1,%2]").arg(r).arg(c),
                        m->index(r, c, view->rootIndex()).data().toString(),
                        {}});
}

// The widget's own texts (its children have theirs), actions included; with `values`
// also the items of lists and the cells of tables, which are only painted in English.
inline QList<Text> textsOf(QWidget *w, bool values)
{
    QList<Text> out;
    const QString where = QLatin1String(w->metaObject()->className()) + QLatin1Char('(') + w->objectName()
        + QLatin1Char(')');
    if (w->isWindow() || qobject_cast<QToolBar *>(w))
        out.append(
            {where + QStringLiteral(".title"), w->windowTitle(), [w](const QString &t) { w->setWindowTitle(t); }});
    out.append({where + QStringLiteral(".toolTip"), w->toolTip(), [w](const QString &t) { w->setToolTip(t); }});
    out.append({where + QStringLiteral(".statusTip"), w->statusTip(), [w](const QString &t) { w->setStatusTip(t); }});
    if (auto *l = qobject_cast<QLabel *>(w))
        out.append({where, l->text(), [l](const QString &t) { l->setText(t); }});
    else if (auto *b = qobject_cast<QAbstractButton *>(w))
        out.append({where, b->text(), [b](const QString &t) { b->setText(t); }});
    else if (auto *g = qobject_cast<QGroupBox *>(w))
        out.append({where, g->title(), [g](const QString &t) { g->setTitle(t); }});
    else if (auto *e = qobject_cast<QLineEdit *>(w))
        out.append({where + QStringLiteral(".placeholder"), e->placeholderText(),
                    [e](const QString &t) { e->setPlaceholderText(t); }});
    else if (auto *p = qobject_cast<QProgressBar *>(w))
        out.append({where + QStringLiteral(".format"), p->format(), [p](const QString &t) { p->setFormat(t); }});
    else if (auto *text = qobject_cast<QTextEdit *>(w))
        out.append({where, text->toPlainText(), {}});
    else if (auto *tabs = qobject_cast<QTabBar *>(w)) {
        for (int i = 0; i < tabs->count(); ++i) {
            out.append({where + QStringLiteral("[%1]").arg(i), tabs->tabText(i),
                        [tabs, i](const QString &t) { tabs->setTabText(i, t); }});
            out.append({where + QStringLiteral("[%1].toolTip").arg(i), tabs->tabToolTip(i),
                        [tabs, i](const QString &t) { tabs->setTabToolTip(i, t); }});
        }
    } else if (auto *combo = qobject_cast<QComboBox *>(w)) {
        out.append({where + QStringLiteral(".placeholder"), combo->placeholderText(),
                    [combo](const QString &t) { combo->setPlaceholderText(t); }});
        for (int i = 0; values && i < combo->count(); ++i)
            out.append({where + QStringLiteral("[%1]").arg(i), combo->itemText(i), {}});
    } else if (auto *view = qobject_cast<QAbstractItemView *>(w); view && values) {
        modelTexts(view, where, out);
    }
    if (auto *spin = qobject_cast<QSpinBox *>(w)) {
        out.append(
            {where + QStringLiteral(".suffix"), spin->suffix(), [spin](const QString &t) { spin->setSuffix(t); }});
        out.append(
            {where + QStringLiteral(".prefix"), spin->prefix(), [spin](const QString &t) { spin->setPrefix(t); }});
    } else if (auto *dspin = qobject_cast<QDoubleSpinBox *>(w)) {
        out.append(
            {where + QStringLiteral(".suffix"), dspin->suffix(), [dspin](const QString &t) { dspin->setSuffix(t); }});
        out.append(
            {where + QStringLiteral(".prefix"), dspin->prefix(), [dspin](const QString &t) { dspin->setPrefix(t); }});
    }
    if (auto *spin = qobject_cast<QAbstractSpinBox *>(w))
        out.append({where + QStringLiteral(".special"), spin->specialValueText(),
                    [spin](const QString &t) { spin->setSpecialValueText(t); }});
    if (auto *menu = qobject_cast<QMenu *>(w))
        actionTexts(menu->menuAction(), where, out);
    for (QAction *a : w->actions())
        actionTexts(a, where, out);
    return out;
}

inline QStringList untranslatedTexts(QWidget *root)
{
    QStringList out;
    QList<QWidget *> widgets{root};
    widgets += root->findChildren<QWidget *>();
    for (QWidget *w : widgets) {
        // A closed menu shows its texts once opened; other hidden widgets show nothing.
        if (w != root && !w->isVisibleTo(root) && !qobject_cast<QMenu *>(w))
            continue;
        for (const Text &t : textsOf(w, true)) {
            if (lang::hasCjk(t.text))
                out << t.where + QStringLiteral(": ") + t.text;
        }
    }
    out.removeDuplicates();
    return out;
}

} // namespace untranslated
