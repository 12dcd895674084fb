#include "CommandHints.h"

#include "widgets/Language.h"

#include <QAction>
#include <QCoreApplication>

namespace commandhints {

namespace {

struct Hint
{
    const char *name;
    const char *text;
};
constexpr Hint hints[] = {
    {"mnuOpen", QT_TRANSLATE_NOOP("commandhints", "打开信道文件 (*.chp)")},
    {"Open", QT_TRANSLATE_NOOP("commandhints", "打开信道文件 (*.chp)")},
    {"mnuSaveFile", QT_TRANSLATE_NOOP("commandhints", "保存到当前文件；没有当前文件时询问文件名")},
    {"mnuSave", QT_TRANSLATE_NOOP("commandhints", "以新文件名保存信道数据")},
    {"Save", QT_TRANSLATE_NOOP("commandhints", "以新文件名保存信道数据")},
    {"mnuPreview", QT_TRANSLATE_NOOP("commandhints", "预览并打印信道数据表")},
    {"Print", QT_TRANSLATE_NOOP("commandhints", "预览并打印信道数据表")},
    {"mnuExit", QT_TRANSLATE_NOOP("commandhints", "退出程序")},
    {"mnuRead", QT_TRANSLATE_NOOP("commandhints", "从对讲机读取全部数据")},
    {"Read", QT_TRANSLATE_NOOP("commandhints", "从对讲机读取全部数据")},
    {"mnuWrite", QT_TRANSLATE_NOOP("commandhints", "把全部数据写入对讲机")},
    {"Write", QT_TRANSLATE_NOOP("commandhints", "把全部数据写入对讲机")},
    {"mnuUndo", QT_TRANSLATE_NOOP("commandhints", "撤销上一步修改")},
    {"mnuRedo", QT_TRANSLATE_NOOP("commandhints", "重做撤销的修改")},
    {"mnuTune", QT_TRANSLATE_NOOP("commandhints", "进入调整模式（需要密码）")},
    {"mnuPort", QT_TRANSLATE_NOOP("commandhints", "选择连接对讲机的串口")},
    {"mnuHelpContents", QT_TRANSLATE_NOOP("commandhints", "打开帮助")},
    {"mnuAbout", QT_TRANSLATE_NOOP("commandhints", "程序版本与系统信息")},
};

} // namespace

void apply(QAction *action)
{
    for (const Hint &h : hints)
        if (action->objectName() == QLatin1String(h.name)) {
            const char *text = h.text;
            language::retranslate(action, [action, text] {
                const QString hint = QCoreApplication::translate("commandhints", text);
                action->setToolTip(hint);
                action->setStatusTip(hint);
            });
        }
}

} // namespace commandhints
