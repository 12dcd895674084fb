#include "CommandHints.h"

#include <QAction>

namespace commandhints {

namespace {

struct Hint
{
    const char *name;
    const char16_t *text;
};
constexpr Hint hints[] = {
    {"mnuOpen", u"打开信道文件 (*.chp)"},
    {"Open", u"打开信道文件 (*.chp)"},
    {"mnuSaveFile", u"保存到当前文件；没有当前文件时询问文件名"},
    {"mnuSave", u"以新文件名保存信道数据"},
    {"Save", u"以新文件名保存信道数据"},
    {"mnuPreview", u"预览并打印信道数据表"},
    {"Print", u"预览并打印信道数据表"},
    {"mnuExit", u"退出程序"},
    {"mnuRead", u"从对讲机读取全部数据"},
    {"Read", u"从对讲机读取全部数据"},
    {"mnuWrite", u"把全部数据写入对讲机"},
    {"Write", u"把全部数据写入对讲机"},
    {"mnuUndo", u"撤销上一步修改"},
    {"mnuRedo", u"重做撤销的修改"},
    {"mnuTune", u"进入调整模式（需要密码）"},
    {"mnuPort", u"选择连接对讲机的串口"},
    {"mnuHelpContents", u"打开帮助"},
    {"mnuAbout", u"程序版本与系统信息"},
};

} // namespace

void apply(QAction *action)
{
    for (const Hint &h : hints)
        if (action->objectName() == QLatin1String(h.name)) {
            action->setToolTip(QString::fromUtf16(h.text));
            action->setStatusTip(QString::fromUtf16(h.text));
        }
}

} // namespace commandhints
