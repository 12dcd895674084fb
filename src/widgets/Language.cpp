#include "Language.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QMenu>
#include <QPointer>
#include <QSettings>
#include <QTranslator>

#include <functional>
#include <vector>

namespace language {
namespace {

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

QSettings settings()
{
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("tarnik"), QStringLiteral("tarnik"));
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
        // Each language is named in its own words, so it is found whatever is shown.
        auto *a = new QAction(QString::fromUtf16(c.text), menu);
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
