#include "Language.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QAction>
#include <QActionEvent>
#include <QActionGroup>
#include <QApplication>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QGroupBox>
#include <QLabel>
#include <QLibraryInfo>
#include <QLocale>
#include <QPointer>
#include <QTranslator>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QProxyStyle>
#include <QSettings>
#include <QSpinBox>
#include <QStyleFactory>
#include <QStyleOption>
#include <QTabBar>
#include <QTextEdit>
#include <QToolBar>

#include <functional>
#include <vector>

namespace language {
namespace {

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

void actionTexts(QAction *a, const QString &where, QList<Text> &out)
{
    if (a->isSeparator() || kept(a))
        return;
    const QString at = where + QLatin1Char('/') + (a->objectName().isEmpty() ? QStringLiteral("action")
                                                                              : a->objectName());
    out.append({at, a->text(), [a](const QString &t) { a->setText(t); }});
    out.append({at + QStringLiteral(".toolTip"), a->toolTip(), [a](const QString &t) { a->setToolTip(t); }});
    out.append({at + QStringLiteral(".statusTip"), a->statusTip(),
                [a](const QString &t) { a->setStatusTip(t); }});
}

void modelTexts(QAbstractItemView *view, const QString &where, QList<Text> &out)
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
                        m->index(r, c, view->rootIndex()).data().toString(), {}});
}

// The widget's own texts (its children have theirs), actions included; with `values`
// also the items of lists and the cells of tables, which are only painted in English.
QList<Text> textsOf(QWidget *w, bool values)
{
    QList<Text> out;
    if (kept(w))
        return out;
    const QString where = QLatin1String(w->metaObject()->className()) + QLatin1Char('(')
                          + w->objectName() + QLatin1Char(')');
    if (w->isWindow() || qobject_cast<QToolBar *>(w))
        out.append({where + QStringLiteral(".title"), w->windowTitle(),
                    [w](const QString &t) { w->setWindowTitle(t); }});
    out.append({where + QStringLiteral(".toolTip"), w->toolTip(), [w](const QString &t) { w->setToolTip(t); }});
    out.append({where + QStringLiteral(".statusTip"), w->statusTip(),
                [w](const QString &t) { w->setStatusTip(t); }});
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
        out.append({where + QStringLiteral(".suffix"), spin->suffix(), [spin](const QString &t) { spin->setSuffix(t); }});
        out.append({where + QStringLiteral(".prefix"), spin->prefix(), [spin](const QString &t) { spin->setPrefix(t); }});
    } else if (auto *dspin = qobject_cast<QDoubleSpinBox *>(w)) {
        out.append({where + QStringLiteral(".suffix"), dspin->suffix(),
                    [dspin](const QString &t) { dspin->setSuffix(t); }});
        out.append({where + QStringLiteral(".prefix"), dspin->prefix(),
                    [dspin](const QString &t) { dspin->setPrefix(t); }});
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

bool g_busy = false;

// The Chinese of every text the lookup replaced, by owner and place, with the English put
// there: a return to Chinese puts back each text still showing that English.
struct Replaced
{
    QString chinese;
    QString english;
};
QHash<QObject *, QHash<QString, Replaced>> g_replaced;

QList<Text> ownTexts(QObject *owner)
{
    if (owner->isWidgetType())
        return textsOf(static_cast<QWidget *>(owner), false);
    QList<Text> texts;
    if (auto *a = qobject_cast<QAction *>(owner))
        actionTexts(a, QString(), texts);
    return texts;
}

void translate(QObject *owner, const Text &t)
{
    if (!t.set || !lang::hasCjk(t.text))
        return;
    const QString english = lang::english(t.text);
    if (english == t.text)
        return;
    if (!g_replaced.contains(owner))
        QObject::connect(owner, &QObject::destroyed, [owner] { g_replaced.remove(owner); });
    g_replaced[owner].insert(t.where, {t.text, english});
    t.set(english);
}

void translateOwner(QObject *owner)
{
    if (g_busy || !lang::isEnglish())
        return;
    g_busy = true;
    for (const Text &t : ownTexts(owner))
        translate(owner, t);
    g_busy = false;
}

void translateWidget(QWidget *w)
{
    translateOwner(w);
}

void translateAction(QAction *a)
{
    translateOwner(a);
}

void restoreChinese()
{
    g_busy = true;
    for (auto owner = g_replaced.cbegin(); owner != g_replaced.cend(); ++owner) {
        for (const Text &t : ownTexts(owner.key())) {
            const auto r = owner->constFind(t.where);
            if (r != owner->cend() && t.text == r->english)
                t.set(r->chinese);
        }
    }
    g_replaced.clear();
    g_busy = false;
}

// Tells retranslate()'s callers that the language changed: installing or removing a
// translator sends the application QEvent::LanguageChange.
class Notifier : public QObject
{
public:
    using QObject::QObject;
    std::function<void()> changed;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == qApp && event->type() == QEvent::LanguageChange && changed)
            changed();
        return false;
    }
};

// Looks texts up as windows come up and when they change afterwards. A paint looks
// again, so a label set while the window is open (the status bar) is English too.
class Filter : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (!watched->isWidgetType())
            return false;
        auto *w = static_cast<QWidget *>(watched);
        switch (event->type()) {
        case QEvent::Polish:
        case QEvent::Show:
        case QEvent::Paint:
        case QEvent::ToolTip:
        case QEvent::WindowTitleChange:
            translateWidget(w);
            break;
        case QEvent::ActionAdded:
        case QEvent::ActionChanged:
            translateAction(static_cast<QActionEvent *>(event)->action());
            break;
        default:
            break;
        }
        return false;
    }
};

// Paints list items, table cells and header sections in English while their values
// stay Chinese.
class EnglishStyle : public QProxyStyle
{
public:
    using QProxyStyle::QProxyStyle;

    void drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                     const QWidget *widget) const override
    {
        switch (element) {
        case CE_ComboBoxLabel:
            if (const auto *o = qstyleoption_cast<const QStyleOptionComboBox *>(option))
                return drawEnglish(element, *o, &QStyleOptionComboBox::currentText, painter, widget);
            break;
        case CE_ItemViewItem:
            if (const auto *o = qstyleoption_cast<const QStyleOptionViewItem *>(option))
                return drawEnglish(element, *o, &QStyleOptionViewItem::text, painter, widget);
            break;
        case CE_HeaderLabel:
            if (const auto *o = qstyleoption_cast<const QStyleOptionHeader *>(option))
                return drawEnglish(element, *o, &QStyleOptionHeader::text, painter, widget);
            break;
        case CE_MenuItem:
            if (const auto *o = qstyleoption_cast<const QStyleOptionMenuItem *>(option))
                return drawEnglish(element, *o, &QStyleOptionMenuItem::text, painter, widget);
            break;
        default:
            break;
        }
        QProxyStyle::drawControl(element, option, painter, widget);
    }

private:
    template<class Option>
    void drawEnglish(ControlElement element, const Option &option, QString Option::*text,
                     QPainter *painter, const QWidget *widget) const
    {
        if (!lang::isEnglish())
            return QProxyStyle::drawControl(element, &option, painter, widget);
        Option english = option;
        english.*text = lang::english(option.*text);
        QProxyStyle::drawControl(element, &english, painter, widget);
    }
};

QSettings settings()
{
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("tarnik"),
                     QStringLiteral("tarnik"));
}

const QString LanguageKey = QStringLiteral("language");

} // namespace

lang::Language saved()
{
    return lang::parse(settings().value(LanguageKey).toString()).value_or(lang::Language::Chinese);
}

void save(lang::Language language)
{
    QSettings s = settings();
    s.setValue(LanguageKey, lang::code(language));
}

void apply(lang::Language language)
{
    const bool wasEnglish = lang::isEnglish();
    // Qt's own texts (message box buttons, file dialogs, edit menus) in Chinese like the
    // rest of the program, whatever the user's locale; in English Qt's own.
    static QPointer<QTranslator> qtChinese;
    if (language == lang::Language::Chinese && !qtChinese) {
        auto *t = new QTranslator(qApp);
        if (t->load(QLocale(QLocale::Chinese, QLocale::China), QStringLiteral("qtbase"), QStringLiteral("_"),
                    QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
            QCoreApplication::installTranslator(t);
            qtChinese = t;
        } else {
            delete t;
        }
    } else if (language == lang::Language::English && qtChinese) {
        QCoreApplication::removeTranslator(qtChinese);
        delete qtChinese;
    }
    lang::select(language);
    if (language != lang::Language::English) {
        if (wasEnglish)
            restoreChinese();
        return;
    }
    static Filter *filter = nullptr;
    if (!filter) {
        filter = new Filter(qApp);
        qApp->installEventFilter(filter);
        // Over a fresh copy of the style in use (-style included): the application deletes
        // the style it replaces.
        QApplication::setStyle(new EnglishStyle(QStyleFactory::create(QApplication::style()->name())));
    }
    for (QWidget *w : QApplication::topLevelWidgets())
        translateTree(w);
}

void retranslate(QObject *owner, std::function<void()> retranslateUi)
{
    static Notifier *notifier = nullptr;
    static std::vector<std::pair<QPointer<QObject>, std::function<void()>>> calls;
    if (!notifier) {
        notifier = new Notifier(qApp);
        qApp->installEventFilter(notifier);
        notifier->changed = [] {
            std::erase_if(calls, [](const auto &c) { return c.first.isNull(); });
            const auto now = calls; // a call may add more
            for (const auto &c : now)
                if (c.first)
                    c.second();
        };
    }
    retranslateUi();
    calls.emplace_back(owner, std::move(retranslateUi));
}

void translateTree(QWidget *root)
{
    translateWidget(root);
    for (QWidget *w : root->findChildren<QWidget *>())
        translateWidget(w);
}

QStringList untranslatedTexts(QWidget *root)
{
    QStringList out;
    QList<QWidget *> widgets{root};
    widgets += root->findChildren<QWidget *>();
    for (QWidget *w : widgets) {
        // A closed menu shows its texts once opened; other hidden widgets show nothing.
        if (w != root && !w->isVisibleTo(root) && !qobject_cast<QMenu *>(w))
            continue;
        for (const Text &t : textsOf(w, true)) {
            const QString shown = t.set ? t.text : lang::text(t.text);
            if (lang::hasCjk(shown))
                out << t.where + QStringLiteral(": ") + t.text;
        }
    }
    out.removeDuplicates();
    return out;
}

QMenu *addLanguageMenu(QMenu *help, QAction *before)
{
    auto *menu = new QMenu(help);
    menu->setObjectName(QStringLiteral("mnuLanguage"));
    retranslate(menu, [menu] { menu->setTitle(QCoreApplication::translate("Language", "语言 / Language")); });
    help->insertMenu(before, menu);
    auto *group = new QActionGroup(menu);
    const struct
    {
        const char *name;
        const char16_t *text;
        lang::Language language;
    } choices[] = {{"mnuLanguageChinese", u"中文", lang::Language::Chinese},
                   {"mnuLanguageEnglish", u"English", lang::Language::English}};
    for (const auto &c : choices) {
        // Each language is named in its own words, so it is found whatever is shown;
        // marked before it joins the menu, which would look it up.
        auto *a = new QAction(QString::fromUtf16(c.text), menu);
        a->setProperty(KeepText, true);
        a->setObjectName(QLatin1String(c.name));
        menu->addAction(a);
        a->setCheckable(true);
        a->setChecked(c.language == lang::current());
        group->addAction(a);
        const lang::Language language = c.language;
        // Every open window follows at once; the choice is remembered for the next start.
        QObject::connect(a, &QAction::triggered, menu, [language] {
            save(language);
            if (language != lang::current())
                apply(language);
        });
    }
    return menu;
}

} // namespace language
