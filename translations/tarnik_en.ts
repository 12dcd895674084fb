<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_GB" sourcelanguage="zh_CN">
<context>
    <name>AboutDialog</name>
    <message>
        <source>版本 %1</source>
        <translation>Version %1</translation>
    </message>
    <message>
        <source>TARNIK 16 信道对讲机的编程软件：从对讲机读频，编辑 16 个信道和整机功能，保存或打开信道文件（*.chp），写频到对讲机，并打印设置报表。</source>
        <translation>TARNIK programming software for the 16-channel radio: read the radio, edit the 16 channels and the radio-wide functions, save or open channel files (*.chp), write the radio and print a settings report.</translation>
    </message>
    <message>
        <source>警告：写频会覆盖对讲机中原有的全部设置。请只使用当地无线电管理部门许可的频率，写频前请核对机型和频率范围。</source>
        <translation>Warning: writing replaces every setting in the radio. Use only frequencies your radio authority permits, and check the model and the frequency range before writing.</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>系统信息</source>
        <translation>System information</translation>
    </message>
    <message>
        <source>此时系统信息不可用</source>
        <translation>System information is not available at this time</translation>
    </message>
</context>
<context>
    <name>AtomicFile</name>
    <message>
        <source>%1：文件只读</source>
        <translation>%1: the file is read-only</translation>
    </message>
</context>
<context>
    <name>BackupListDialog</name>
    <message>
        <source>日期</source>
        <translation>Date</translation>
    </message>
    <message>
        <source>端口</source>
        <translation>Port</translation>
    </message>
    <message>
        <source>台号</source>
        <translation>Radio</translation>
    </message>
    <message>
        <source>机型</source>
        <translation>Model</translation>
    </message>
    <message>
        <source>信道 1</source>
        <translation>Channel 1</translation>
    </message>
    <message>
        <source>文件</source>
        <translation>File</translation>
    </message>
    <message>
        <source>第 %1 台</source>
        <translation>Radio %1</translation>
    </message>
    <message>
        <source>恢复备份</source>
        <translation>Restore backup</translation>
    </message>
    <message>
        <source>载入</source>
        <translation>Load</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>提示</source>
        <translation>Notice</translation>
    </message>
    <message>
        <source>还没有备份。写频前的备份保存在 %1</source>
        <translation>No backups yet. Backups made before writing are kept in %1</translation>
    </message>
</context>
<context>
    <name>BackupStore</name>
    <message>
        <source>无法创建文件夹 %1</source>
        <translation>Cannot create the folder %1</translation>
    </message>
    <message>
        <source>无法写入备份 %1：%2</source>
        <translation>Cannot write the backup %1: %2</translation>
    </message>
    <message>
        <source>无法写入备份：%1</source>
        <translation>Cannot write the backup: %1</translation>
    </message>
    <message>
        <source>备份文件名已用尽</source>
        <translation>No backup file name left</translation>
    </message>
    <message>
        <source>文件不存在：%1</source>
        <translation>File does not exist: %1</translation>
    </message>
</context>
<context>
    <name>BoundedFile</name>
    <message>
        <source>%1：文件太大（超过 %2 字节）</source>
        <translation>%1: file too large (over %2 bytes)</translation>
    </message>
</context>
<context>
    <name>ChannelCsv</name>
    <message>
        <source>引号没有结束，从这一行到文件末尾都未导入</source>
        <translation>a quote is not closed; nothing from this line to the end of the file was imported</translation>
    </message>
    <message>
        <source>第 %1 行 “%2”：%3</source>
        <translation>Line %1 &quot;%2&quot;: %3</translation>
    </message>
    <message>
        <source>不是信道：这一行没有 Frequency 列</source>
        <translation>no channel: the line has no Frequency column</translation>
    </message>
    <message>
        <source>不是信道号，这一行未导入</source>
        <translation>no channel number; the line was not imported</translation>
    </message>
    <message>
        <source>只能是 FM（宽）或 NFM（窄）</source>
        <translation>must be FM (wide) or NFM (narrow)</translation>
    </message>
    <message>
        <source>不是功率（瓦数或 High/Mid/Low）</source>
        <translation>is not a power (watts or High/Mid/Low)</translation>
    </message>
    <message>
        <source>不是频率（MHz）</source>
        <translation>is not a frequency (MHz)</translation>
    </message>
    <message>
        <source>所选机型没有可用的频段</source>
        <translation>the chosen model has no usable band</translation>
    </message>
    <message>
        <source>只能是空、+、-、split 或 off；不发射</source>
        <translation>must be empty, +, -, split or off; transmit off</translation>
    </message>
    <message>
        <source>%1；不发射</source>
        <translation>%1; transmit off</translation>
    </message>
    <message>
        <source>不在信令表中</source>
        <translation>is not in the signalling table</translation>
    </message>
    <message>
        <source>应为两个字母 N 或 R</source>
        <translation>must be two letters, each N or R</translation>
    </message>
    <message>
        <source>不是可用的交叉方式</source>
        <translation>is not a usable cross mode</translation>
    </message>
    <message>
        <source>只能是空、Tone、TSQL、DTCS 或 Cross</source>
        <translation>must be empty, Tone, TSQL, DTCS or Cross</translation>
    </message>
    <message>
        <source>第 %1 行 %2 “%3”：%4</source>
        <translation>Line %1 %2 &quot;%3&quot;: %4</translation>
    </message>
    <message>
        <source>不是信道表：找不到含 Frequency 列的标题行</source>
        <translation>Not a channel table: no heading line with a Frequency column</translation>
    </message>
    <message>
        <source>信道 %1 已由第 %2 行导入</source>
        <translation>channel %1 already imported from line %2</translation>
    </message>
    <message>
        <source>只导入信道 1–16</source>
        <translation>only channels 1–16 are imported</translation>
    </message>
</context>
<context>
    <name>ChannelDiff</name>
    <message>
        <source>地址 0x%1（不属于任何信道或功能设置的字节）</source>
        <translation>Address 0x%1 (a byte of no channel or function setting)</translation>
    </message>
    <message>
        <source>（空）</source>
        <translation>(empty)</translation>
    </message>
    <message>
        <source>机型</source>
        <translation>Model</translation>
    </message>
    <message>
        <source>监听</source>
        <translation>Monitor</translation>
    </message>
    <message>
        <source>省电功能</source>
        <translation>Power save</translation>
    </message>
    <message>
        <source>发射限时</source>
        <translation>Transmit time limit</translation>
    </message>
    <message>
        <source>静噪等级</source>
        <translation>Squelch level</translation>
    </message>
    <message>
        <source>扫描功能</source>
        <translation>Scan</translation>
    </message>
    <message>
        <source>语音报频</source>
        <translation>Voice</translation>
    </message>
    <message>
        <source>晶体</source>
        <translation>Crystal</translation>
    </message>
    <message>
        <source>中频</source>
        <translation>IF</translation>
    </message>
    <message>
        <source>功率调整</source>
        <translation>Power</translation>
    </message>
    <message>
        <source>信道 %1 %2</source>
        <translation>Ch. %1 %2</translation>
    </message>
    <message>
        <source>%1：文件不存在</source>
        <translation>%1: file does not exist</translation>
    </message>
</context>
<context>
    <name>ChannelFile</name>
    <message>
        <source>输入超出文件尾：文件在第 %1 行之前结束</source>
        <translation>Input past end of file: the file ends before line %1</translation>
    </message>
    <message>
        <source>下标越界：第 %1 行缺少第 %2 个数据</source>
        <translation>Subscript out of range: line %1 lacks its value %2</translation>
    </message>
    <message>
        <source>第 %1 行：%2</source>
        <translation>Line %1: %2</translation>
    </message>
    <message>
        <source>无效的属性值：第 %1 行的%2 &quot;%3&quot; 超出列表</source>
        <translation>Invalid property value: %2 &quot;%3&quot; on line %1 is not in the list</translation>
    </message>
    <message>
        <source>第 1 行：%1</source>
        <translation>Line 1: %1</translation>
    </message>
    <message>
        <source>发射限时</source>
        <translation>Transmit time limit</translation>
    </message>
    <message>
        <source>类型不匹配：第 1 行的静噪等级 &quot;%1&quot; 不是数字</source>
        <translation>Type mismatch: the squelch level &quot;%1&quot; on line 1 is not a number</translation>
    </message>
    <message>
        <source>静噪等级</source>
        <translation>Squelch level</translation>
    </message>
    <message>
        <source>保存成功</source>
        <translation>Saved</translation>
    </message>
</context>
<context>
    <name>ChannelGrid</name>
    <message>
        <source>设定频段…</source>
        <translation>Set bands…</translation>
    </message>
    <message>
        <source>选择%1</source>
        <translation>Choose %1</translation>
    </message>
    <message>
        <source>编辑信道 %1</source>
        <translation>Edit channel %1</translation>
    </message>
</context>
<context>
    <name>ChannelTable</name>
    <message>
        <source>信道</source>
        <translation>Ch.</translation>
    </message>
    <message>
        <source>接收频率</source>
        <translation>RX freq</translation>
    </message>
    <message>
        <source>发射频率</source>
        <translation>TX freq</translation>
    </message>
    <message>
        <source>接收信令</source>
        <translation>RX tone</translation>
    </message>
    <message>
        <source>发射信令</source>
        <translation>TX tone</translation>
    </message>
    <message>
        <source>繁忙锁定</source>
        <translation>Busy lock</translation>
    </message>
    <message>
        <source>宽/窄</source>
        <translation>Wide/Nar</translation>
    </message>
    <message>
        <source>发射功率</source>
        <translation>TX power</translation>
    </message>
</context>
<context>
    <name>Commands</name>
    <message>
        <source>备份 %1</source>
        <translation>Backup %1</translation>
    </message>
    <message>
        <source>写频前备份</source>
        <translation>Back up before writing</translation>
    </message>
    <message>
        <source>写频后校验</source>
        <translation>Verify after writing</translation>
    </message>
    <message>
        <source>批量写频…</source>
        <translation>Write several radios…</translation>
    </message>
    <message>
        <source>恢复备份…</source>
        <translation>Restore backup…</translation>
    </message>
    <message>
        <source>恢复备份</source>
        <translation>Restore backup</translation>
    </message>
    <message>
        <source>读频</source>
        <translation>Read</translation>
    </message>
    <message>
        <source>编辑</source>
        <translation>Edit</translation>
    </message>
    <message>
        <source>与对讲机比较…</source>
        <translation>Compare with radio…</translation>
    </message>
</context>
<context>
    <name>CompareDialog</name>
    <message>
        <source>对讲机</source>
        <translation>the radio</translation>
    </message>
    <message>
        <source>文件“%1”</source>
        <translation>file &quot;%1&quot;</translation>
    </message>
    <message>
        <source>比较</source>
        <translation>Compare</translation>
    </message>
    <message>
        <source>编辑器与%1相同。</source>
        <translation>The editor is the same as %1.</translation>
    </message>
    <message numerus="yes">
        <source>编辑器与%1有 %n 处不同（编辑器 → %1）：</source>
        <translation>
            <numerusform>The editor differs from %1 in %n place (editor → %1):</numerusform>
            <numerusform>The editor differs from %1 in %n places (editor → %1):</numerusform>
        </translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>Console</name>
    <message>
        <source>等待对讲机应答… %1 秒</source>
        <translation>Waiting for the radio to answer… %1 s</translation>
    </message>
    <message>
        <source>写频未完成：对讲机中只有部分新数据，请重新写频。</source>
        <translation>Write not finished: the radio holds only part of the new data. Write it again.</translation>
    </message>
    <message>
        <source>写频未完成：没有数据写入对讲机，对讲机未被改动。</source>
        <translation>Write not finished: no data was written to the radio; the radio is unchanged.</translation>
    </message>
</context>
<context>
    <name>CsvCommands</name>
    <message>
        <source>信道 %1 的频率未采用，信道已清空</source>
        <translation>Channel %1: frequency not taken, channel cleared</translation>
    </message>
    <message>
        <source>用法: %1</source>
        <translation>Usage: %1</translation>
    </message>
    <message>
        <source>信道 %1 的频率无法读出，未导出</source>
        <translation>the frequency of channel %1 cannot be read; not exported</translation>
    </message>
    <message numerus="yes">
        <source>已导出 %n 个信道到 %1</source>
        <translation>
            <numerusform>Exported %n channel to %1</numerusform>
            <numerusform>Exported %n channels to %1</numerusform>
        </translation>
    </message>
    <message>
        <source>错误</source>
        <translation>Error</translation>
    </message>
    <message numerus="yes">
        <source>已导入 %n 个信道，%1 个数值未采用</source>
        <translation>
            <numerusform>Imported %n channel; values not taken: %1</numerusform>
            <numerusform>Imported %n channels; values not taken: %1</numerusform>
        </translation>
    </message>
    <message>
        <source>所有文件(*.*)</source>
        <translation>All files (*.*)</translation>
    </message>
    <message>
        <source>导入CSV</source>
        <translation>Import CSV</translation>
    </message>
    <message>
        <source>导出CSV</source>
        <translation>Export CSV</translation>
    </message>
    <message numerus="yes">
        <source>已导入 %n 个信道</source>
        <translation>
            <numerusform>Imported %n channel</numerusform>
            <numerusform>Imported %n channels</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>已导入 %n 个信道；信道 %1 不在文件中，已清空</source>
        <translation>
            <numerusform>Imported %n channel; channel(s) %1 not in the file, cleared</numerusform>
            <numerusform>Imported %n channels; channel(s) %1 not in the file, cleared</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>以下 %n 个数值未采用：</source>
        <translation>
            <numerusform>This value was not taken:</numerusform>
            <numerusform>These %n values were not taken:</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>……另有 %n 个</source>
        <translation>
            <numerusform>…and %n more</numerusform>
            <numerusform>…and %n more</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>已导出 %n 个信道到 %1。</source>
        <translation>
            <numerusform>Exported %n channel to %1.</numerusform>
            <numerusform>Exported %n channels to %1.</numerusform>
        </translation>
    </message>
    <message>
        <source>信道 %1 的频率无法读出，未导出。</source>
        <translation>The frequency of channel %1 cannot be read; not exported.</translation>
    </message>
</context>
<context>
    <name>EditHistory</name>
    <message>
        <source>编辑</source>
        <translation>Edit</translation>
    </message>
</context>
<context>
    <name>EditSession</name>
    <message>
        <source>打开</source>
        <translation>Open</translation>
    </message>
    <message>
        <source>编辑</source>
        <translation>Edit</translation>
    </message>
    <message>
        <source>保存修改吗？</source>
        <translation>Save the changes?</translation>
    </message>
    <message>
        <source>更换机型将清除全部信道数据，是否继续？</source>
        <translation>Changing the model clears all channel data. Continue?</translation>
    </message>
    <message>
        <source>更换机型</source>
        <translation>Change model</translation>
    </message>
    <message>
        <source>更改功能设置</source>
        <translation>Change functions</translation>
    </message>
</context>
<context>
    <name>FileCommands</name>
    <message>
        <source>所有文件(*.*)</source>
        <translation>All files (*.*)</translation>
    </message>
    <message>
        <source>所有文件 (*)</source>
        <translation>All files (*)</translation>
    </message>
    <message>
        <source>%1 已存在。
要替换它吗？</source>
        <translation>%1 already exists.
Do you want to replace it?</translation>
    </message>
    <message>
        <source>打开</source>
        <translation>Open</translation>
    </message>
    <message>
        <source>另存为</source>
        <translation>Save as</translation>
    </message>
    <message>
        <source>错误</source>
        <translation>Error</translation>
    </message>
</context>
<context>
    <name>FleetWrite</name>
    <message>
        <source>成功 %1 台，失败 %2 台</source>
        <translation>%1 radio(s) succeeded, %2 failed</translation>
    </message>
    <message>
        <source>只写了 %1 台，要求 %2 台</source>
        <translation>Only %1 radios written, %2 asked for</translation>
    </message>
    <message>
        <source>无法写入批量写频记录 %1：%2</source>
        <translation>Cannot write the fleet log %1: %2</translation>
    </message>
    <message>
        <source>不能写入批量写频记录：%1</source>
        <translation>Cannot use the fleet log: %1</translation>
    </message>
    <message>
        <source>无法写入批量写频记录：%1</source>
        <translation>Cannot write the fleet log: %1</translation>
    </message>
    <message>
        <source>成功</source>
        <comment>result of a radio</comment>
        <translation>Succeeded</translation>
    </message>
    <message>
        <source>校验失败</source>
        <comment>result of a radio</comment>
        <translation>Verify failed</translation>
    </message>
    <message>
        <source>通信失败</source>
        <comment>result of a radio</comment>
        <translation>Link failed</translation>
    </message>
    <message>
        <source>取消</source>
        <comment>result of a radio</comment>
        <translation>Cancelled</translation>
    </message>
    <message>
        <source>机型不符</source>
        <comment>result of a radio</comment>
        <translation>Wrong model</translation>
    </message>
    <message>
        <source>文件错误</source>
        <comment>result of a radio</comment>
        <translation>File error</translation>
    </message>
</context>
<context>
    <name>FunctionPanel</name>
    <message>
        <source>监听：</source>
        <translation>Monitor:</translation>
    </message>
    <message>
        <source>省电功能：</source>
        <translation>Power save:</translation>
    </message>
    <message>
        <source>发射限时：</source>
        <translation>TX time limit:</translation>
    </message>
    <message>
        <source>静噪等级：</source>
        <translation>Squelch:</translation>
    </message>
    <message>
        <source>扫描功能：</source>
        <translation>Scan:</translation>
    </message>
    <message>
        <source>语音报频：</source>
        <translation>Voice:</translation>
    </message>
    <message>
        <source>功能设置</source>
        <translation>Functions</translation>
    </message>
</context>
<context>
    <name>GridActions</name>
    <message>
        <source>粘贴</source>
        <translation>Paste</translation>
    </message>
    <message>
        <source>以下数据未粘贴：</source>
        <translation>The following data was not pasted:</translation>
    </message>
    <message>
        <source>按步进填充</source>
        <translation>Fill by step</translation>
    </message>
    <message>
        <source>步进 %1 kHz 需为6.25K或5K的整数倍</source>
        <translation>A step of %1 kHz: it must be a whole multiple of 6.25K or 5K</translation>
    </message>
    <message>
        <source>提示</source>
        <translation>Notice</translation>
    </message>
    <message>
        <source>清除</source>
        <translation>Clear</translation>
    </message>
    <message>
        <source>清除信道</source>
        <translation>Clear channel</translation>
    </message>
    <message>
        <source>复制到下一信道</source>
        <translation>Copy to next channel</translation>
    </message>
    <message>
        <source>请先选择要填充的多个信道</source>
        <translation>First select the channels to fill</translation>
    </message>
    <message>
        <source>步进 (kHz)：</source>
        <translation>Step (kHz):</translation>
    </message>
    <message>
        <source>以下频率未填充：</source>
        <translation>The following frequencies were not filled:</translation>
    </message>
    <message>
        <source>复制</source>
        <translation>Copy</translation>
    </message>
    <message>
        <source>按步进填充…</source>
        <translation>Fill by step…</translation>
    </message>
</context>
<context>
    <name>HelpWindow</name>
    <message>
        <source>TARNIK软件帮助</source>
        <translation>TARNIK Help</translation>
    </message>
    <message>
        <source>关闭</source>
        <comment>close the window</comment>
        <translation>Close</translation>
    </message>
</context>
<context>
    <name>ImageCheck</name>
    <message>
        <source>校验失败：对讲机中读回的数据有 %1 处与写入的不同（写入 → 读回）：</source>
        <translation>Verify failed: what was read back from the radio differs from what was written in %1 places (written → read back):</translation>
    </message>
    <message>
        <source>……另有 %1 处不同</source>
        <translation>… and %1 more differences</translation>
    </message>
    <message>
        <source>请重新写频。</source>
        <translation>Write the radio again.</translation>
    </message>
    <message>
        <source>请重新写频；写频前的备份：%1</source>
        <translation>Write the radio again; backup made before the write: %1</translation>
    </message>
</context>
<context>
    <name>Language</name>
    <message>
        <source>语言 / Language</source>
        <translation>Language</translation>
    </message>
</context>
<context>
    <name>Launcher</name>
    <message>
        <source>用法: tarnik [选项] [信道文件.chp]

TARNIK编程软件：读写对讲机，编辑信道和功能，保存和打开信道文件。

选项:
  --port 设备      使用的串口，例如 /dev/ttyUSB0
  --lang en|zh     界面语言：英文或中文（默认为“帮助 → 语言”所选）
  -h, --help       显示本帮助
  -v, --version    显示版本

给出信道文件时，启动后打开它。
</source>
        <translation>Usage: tarnik [options] [channel file.chp]

TARNIK programming software: read and write the radio, edit channels and functions, save and open channel files.

Options:
  --port DEVICE    the serial port to use, e.g. /dev/ttyUSB0
  --lang en|zh     interface language: English or Chinese (default: the choice in Help → Language)
  -h, --help       show this help
  -v, --version    show the version

A channel file given is opened after start-up.
</translation>
    </message>
    <message>
        <source>--lang 需要 en 或 zh</source>
        <translation>--lang needs en or zh</translation>
    </message>
    <message>
        <source>只能打开一个信道文件</source>
        <translation>Only one channel file can be opened</translation>
    </message>
    <message>
        <source>--window-size 需要 宽x高，例如 1024x768</source>
        <translation>--window-size needs WIDTHxHEIGHT, e.g. 1024x768</translation>
    </message>
    <message>
        <source>找不到信道文件 %1</source>
        <translation>Channel file %1 not found</translation>
    </message>
    <message>
        <source>tarnik: 无法保存截图 %1</source>
        <translation>tarnik: cannot save the screenshot %1</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>打开</source>
        <translation>Open</translation>
    </message>
    <message>
        <source>另存</source>
        <translation>Save as</translation>
    </message>
    <message>
        <source>打印</source>
        <translation>Print</translation>
    </message>
    <message>
        <source>读频</source>
        <translation>Read</translation>
    </message>
    <message>
        <source>写频</source>
        <translation>Write</translation>
    </message>
    <message>
        <source>工具栏</source>
        <translation>Toolbar</translation>
    </message>
    <message>
        <source>%1：%2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>信道数据设置</source>
        <translation>Channel data</translation>
    </message>
    <message>
        <source>文件(&amp;F)</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>打开(&amp;O)</source>
        <translation>&amp;Open</translation>
    </message>
    <message>
        <source>保存</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>另存(&amp;S)</source>
        <translation>&amp;Save as</translation>
    </message>
    <message>
        <source>导入CSV…</source>
        <translation>Import CSV…</translation>
    </message>
    <message>
        <source>导出CSV…</source>
        <translation>Export CSV…</translation>
    </message>
    <message>
        <source>比较…</source>
        <translation>Compare…</translation>
    </message>
    <message>
        <source>打印(&amp;P)</source>
        <translation>&amp;Print</translation>
    </message>
    <message>
        <source>退出(&amp;X)</source>
        <translation>E&amp;xit</translation>
    </message>
    <message>
        <source>编程(&amp;P)</source>
        <translation>&amp;Program</translation>
    </message>
    <message>
        <source>读频(&amp;R)</source>
        <translation>&amp;Read radio</translation>
    </message>
    <message>
        <source>写频(&amp;W)</source>
        <translation>&amp;Write radio</translation>
    </message>
    <message>
        <source>编辑(&amp;E)</source>
        <translation>&amp;Edit</translation>
    </message>
    <message>
        <source>撤销</source>
        <translation>Undo</translation>
    </message>
    <message>
        <source>重做</source>
        <translation>Redo</translation>
    </message>
    <message>
        <source>调整模式(&amp;T)</source>
        <translation>&amp;Tune mode</translation>
    </message>
    <message>
        <source>端口选择(&amp;C)</source>
        <translation>&amp;Communication</translation>
    </message>
    <message>
        <source>选择端口(&amp;P)</source>
        <translation>Choose &amp;port</translation>
    </message>
    <message>
        <source>帮助(&amp;H)</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>帮助(&amp;I)...</source>
        <translation>&amp;Index...</translation>
    </message>
    <message>
        <source>关于(&amp;A)</source>
        <translation>&amp;About</translation>
    </message>
    <message>
        <source>提示</source>
        <translation>Notice</translation>
    </message>
    <message>
        <source>此功能尚不可用</source>
        <translation>This function is not available yet</translation>
    </message>
    <message>
        <source>导入CSV</source>
        <translation>Import CSV</translation>
    </message>
    <message>
        <source>读频完成 %1</source>
        <translation>Read finished %1</translation>
    </message>
    <message>
        <source>写频完成 %1</source>
        <translation>Write finished %1</translation>
    </message>
    <message>
        <source>找不到帮助文件 %1。已查找：
%2</source>
        <translation>Help file %1 not found. Looked in:
%2</translation>
    </message>
    <message>
        <source>编辑</source>
        <translation>Edit</translation>
    </message>
</context>
<context>
    <name>ModelPanel</name>
    <message>
        <source>机型选择</source>
        <translation>Model</translation>
    </message>
    <message>
        <source>机型：</source>
        <translation>Model:</translation>
    </message>
    <message>
        <source>频率：</source>
        <translation>Band:</translation>
    </message>
</context>
<context>
    <name>PageScript</name>
    <message>
        <source>%1：%2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>%1：是符号链接，为安全起见不打开</source>
        <translation>%1: is a symbolic link, not opened for safety</translation>
    </message>
    <message>
        <source>%1：不是普通文件</source>
        <translation>%1: not a regular file</translation>
    </message>
    <message>
        <source>%1：无法创建文件夹</source>
        <translation>%1: cannot create the folder</translation>
    </message>
    <message>
        <source>%1：不是文件夹</source>
        <translation>%1: not a folder</translation>
    </message>
    <message>
        <source>%1：属于其他用户</source>
        <translation>%1: belongs to another user</translation>
    </message>
</context>
<context>
    <name>ParallelFleet</name>
    <message>
        <source>已取消：没有开始写频，对讲机未被改动。</source>
        <translation>Cancelled: the write had not started; the radio was not changed.</translation>
    </message>
    <message>
        <source>端口 %1 给了两次：每个端口只能连接一台对讲机</source>
        <translation>Port %1 was given twice: each port takes one radio</translation>
    </message>
    <message>
        <source>%1 和 %2 是同一个设备（%3）：每个端口只能连接一台对讲机</source>
        <translation>%1 and %2 are the same device (%3): each port takes one radio</translation>
    </message>
</context>
<context>
    <name>ParallelFleetDialog</name>
    <message>
        <source>批量写频</source>
        <translation>Write several radios</translation>
    </message>
    <message>
        <source>选择要同时写频的端口（每个端口连接一台对讲机）：</source>
        <translation>Choose the ports to write at the same time (one radio on each port):</translation>
    </message>
    <message>
        <source>  ← 可能是编程线</source>
        <translation>  ← probably the programming cable</translation>
    </message>
    <message>
        <source>其他设备（用逗号分隔）：</source>
        <translation>Other devices (separated by commas):</translation>
    </message>
    <message>
        <source>端口</source>
        <translation>Port</translation>
    </message>
    <message>
        <source>阶段</source>
        <translation>Stage</translation>
    </message>
    <message>
        <source>进度</source>
        <translation>Progress</translation>
    </message>
    <message>
        <source>结果</source>
        <translation>Result</translation>
    </message>
    <message>
        <source>开始</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>下一批</source>
        <translation>Next batch</translation>
    </message>
    <message>
        <source>请至少选择一个端口</source>
        <translation>Choose at least one port</translation>
    </message>
    <message>
        <source>请在 %1 个端口上连接下一批对讲机，然后点击“下一批”</source>
        <translation>Connect the next radios to the %1 port(s), then click &quot;Next batch&quot;</translation>
    </message>
</context>
<context>
    <name>ParallelWriteCommand</name>
    <message>
        <source>端口 %1：%2（%3 秒）</source>
        <translation>Port %1: %2 (%3 s)</translation>
    </message>
    <message>
        <source>端口 %1：%2（%3 秒），对讲机已被改动</source>
        <translation>Port %1: %2 (%3 s), the radio was changed</translation>
    </message>
    <message>
        <source>端口 %1：%2（%3 秒），对讲机未被改动</source>
        <translation>Port %1: %2 (%3 s), the radio was not changed</translation>
    </message>
    <message>
        <source>请在 %1 个端口上连接下一批对讲机，按回车键继续</source>
        <translation>Connect the next radios to the %1 port(s), then press Enter</translation>
    </message>
    <message>
        <source>端口：%1</source>
        <translation>Port: %1</translation>
    </message>
</context>
<context>
    <name>PortDialog</name>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>PortDoctor</name>
    <message>
        <source>终端</source>
        <translation>terminal</translation>
    </message>
    <message>
        <source>其他设备</source>
        <translation>another device</translation>
    </message>
    <message>
        <source>普通文件</source>
        <translation>regular file</translation>
    </message>
    <message>
        <source>文件夹</source>
        <translation>folder</translation>
    </message>
    <message>
        <source>管道（FIFO）</source>
        <translation>a pipe (FIFO)</translation>
    </message>
    <message>
        <source>特殊文件</source>
        <translation>a special file</translation>
    </message>
    <message>
        <source>%1 不是串口设备（它是%2）。请用 tarnik-cli ports 列出现有的串口，编程线插上后用 dmesg 查看系统给它的名字。</source>
        <translation>%1 is not a serial device (it is a %2). List the serial ports with tarnik-cli ports; once the cable is plugged in, dmesg shows the name the system gave it.</translation>
    </message>
</context>
<context>
    <name>PreviewWindow</name>
    <message>
        <source>恢复</source>
        <translation>Redraw</translation>
    </message>
    <message>
        <source>放大</source>
        <translation>In</translation>
    </message>
    <message>
        <source>缩小</source>
        <translation>Out</translation>
    </message>
    <message>
        <source>打印</source>
        <translation>Print</translation>
    </message>
    <message>
        <source>退出</source>
        <translation>Exit</translation>
    </message>
</context>
<context>
    <name>Prompter</name>
    <message>
        <source>保存</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>不保存</source>
        <translation>Don&apos;t save</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>ReportCommand</name>
    <message>
        <source>用法: %1</source>
        <translation>Usage: %1</translation>
    </message>
    <message>
        <source>错误</source>
        <translation>Error</translation>
    </message>
</context>
<context>
    <name>SafeWrite</name>
    <message>
        <source>无法在 %1 中创建临时文件夹
没有写频，对讲机未被改动。</source>
        <translation>Cannot create a temporary folder in %1
Nothing was written; the radio was not changed.</translation>
    </message>
    <message>
        <source>未知机型（代码 %1）</source>
        <translation>unknown model (code %1)</translation>
    </message>
    <message>
        <source>对讲机机型是 %1，文件机型是 %2，没有写频</source>
        <translation>The radio is a %1 and the file is for a %2; nothing was written</translation>
    </message>
    <message>
        <source>写频未完成：没有数据写入对讲机，对讲机未被改动。</source>
        <translation>Write not finished: no data was written to the radio; the radio is unchanged.</translation>
    </message>
</context>
<context>
    <name>SafeWriteCommand</name>
    <message>
        <source>请连接第 %1 台对讲机，然后按回车键</source>
        <translation>Connect radio %1, then press Enter</translation>
    </message>
</context>
<context>
    <name>SafeWriteCommands</name>
    <message>
        <source>编辑器</source>
        <translation>Editor</translation>
    </message>
    <message>
        <source>批量写频</source>
        <translation>Write several radios</translation>
    </message>
    <message>
        <source>机型不符</source>
        <translation>Wrong model</translation>
    </message>
    <message>
        <source>对讲机机型是 %1，文件机型是 %2。仍然写频吗？</source>
        <translation>The radio is a %1 and the file is for a %2. Write it anyway?</translation>
    </message>
</context>
<context>
    <name>SafeWriteDialog</name>
    <message>
        <source>写频进度显示</source>
        <translation>Writing progress</translation>
    </message>
    <message>
        <source>台号</source>
        <translation>Radio</translation>
    </message>
    <message>
        <source>时间</source>
        <translation>Time</translation>
    </message>
    <message>
        <source>端口</source>
        <translation>Port</translation>
    </message>
    <message>
        <source>结果</source>
        <translation>Result</translation>
    </message>
    <message>
        <source>说明</source>
        <translation>Reason</translation>
    </message>
    <message>
        <source>备份</source>
        <translation>Backup</translation>
    </message>
    <message>
        <source>继续</source>
        <translation>Continue</translation>
    </message>
    <message>
        <source>结束</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>请连接第 %1 台对讲机</source>
        <translation>Connect radio %1</translation>
    </message>
</context>
<context>
    <name>ScriptReader</name>
    <message>
        <source>%1：是符号链接，为安全起见不打开</source>
        <translation>%1: is a symbolic link, not opened for safety</translation>
    </message>
    <message>
        <source>%1：%2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>%1：不是普通文件</source>
        <translation>%1: not a regular file</translation>
    </message>
</context>
<context>
    <name>ScriptRenderer</name>
    <message>
        <source>无法开始打印</source>
        <translation>Cannot start printing</translation>
    </message>
</context>
<context>
    <name>ServicePasswordDialog</name>
    <message>
        <source>请输入进入调整模式的密码</source>
        <translation>Enter the password for tune mode</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>错误</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>密码不正确，请重新输入</source>
        <translation>Wrong password, please enter it again</translation>
    </message>
</context>
<context>
    <name>ShowCommands</name>
    <message>
        <source>用法: %1</source>
        <translation>Usage: %1</translation>
    </message>
    <message>
        <source>文件不存在</source>
        <translation>file does not exist</translation>
    </message>
    <message>
        <source>机型</source>
        <translation>Model</translation>
    </message>
    <message>
        <source>监听</source>
        <translation>Monitor</translation>
    </message>
    <message>
        <source>省电</source>
        <translation>Power save</translation>
    </message>
    <message>
        <source>发射限时</source>
        <translation>Transmit time limit</translation>
    </message>
    <message>
        <source>静噪等级</source>
        <translation>Squelch level</translation>
    </message>
    <message>
        <source>扫描</source>
        <translation>Scan</translation>
    </message>
    <message>
        <source>语音报道</source>
        <translation>Voice announcement</translation>
    </message>
    <message>
        <source>晶振</source>
        <translation>Crystal</translation>
    </message>
    <message>
        <source>中频</source>
        <translation>IF</translation>
    </message>
    <message>
        <source>功率档位</source>
        <translation>Power step</translation>
    </message>
    <message>
        <source>频段</source>
        <translation>Band</translation>
    </message>
    <message>
        <source>%1：%2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>错误</source>
        <translation>Error</translation>
    </message>
</context>
<context>
    <name>SplashWindow</name>
    <message>
        <source>16 信道对讲机编程软件</source>
        <translation>16-channel radio programming software</translation>
    </message>
    <message>
        <source>版本 %1</source>
        <translation>Version %1</translation>
    </message>
</context>
<context>
    <name>SystemFailure</name>
    <message>
        <source>文件超出了允许的大小（文件大小限制，见 ulimit -f）：%1</source>
        <translation>The file exceeds the size allowed (file size limit, see ulimit -f): %1</translation>
    </message>
    <message>
        <source>%1：%2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>%1：这是一个文件夹</source>
        <translation>%1: this is a folder</translation>
    </message>
    <message>
        <source>管道（FIFO）</source>
        <translation>pipe (FIFO)</translation>
    </message>
    <message>
        <source>设备</source>
        <translation>device</translation>
    </message>
    <message>
        <source>套接字</source>
        <translation>socket</translation>
    </message>
    <message>
        <source>特殊文件</source>
        <translation>special file</translation>
    </message>
    <message>
        <source>%1：这是一个%2，不是普通文件</source>
        <translation>%1: this is a %2, not a regular file</translation>
    </message>
</context>
<context>
    <name>TransferDialog</name>
    <message>
        <source>等待对讲机应答… %1 秒</source>
        <translation>Waiting for the radio to answer… %1 s</translation>
    </message>
</context>
<context>
    <name>TuneWindow</name>
    <message>
        <source>机型：</source>
        <translation>Model:</translation>
    </message>
    <message>
        <source>高端频率(MHz)：</source>
        <translation>Upper frequency (MHz):</translation>
    </message>
    <message>
        <source>低端频率(MHz)：</source>
        <translation>Lower frequency (MHz):</translation>
    </message>
    <message>
        <source>中频：</source>
        <translation>IF:</translation>
    </message>
    <message>
        <source>晶体：</source>
        <translation>Crystal:</translation>
    </message>
    <message>
        <source>频率：</source>
        <translation>Band:</translation>
    </message>
    <message>
        <source>功率调整：</source>
        <translation>Power:</translation>
    </message>
    <message>
        <source>调整模式</source>
        <translation>Tune mode</translation>
    </message>
    <message>
        <source>调整项</source>
        <translation>Adjust</translation>
    </message>
    <message>
        <source>频率调整</source>
        <translation>Frequency</translation>
    </message>
    <message>
        <source>功率调整</source>
        <translation>Power</translation>
    </message>
    <message>
        <source>退出调整</source>
        <translation>Exit</translation>
    </message>
    <message>
        <source>请输入数字</source>
        <translation>Please enter a number</translation>
    </message>
    <message>
        <source>频段的下限和上限须各为三位数字（例如 400 和 470），频段未保存。</source>
        <translation>The lower and upper band limits must each be three digits (for example 400 and 470); the band was not saved.</translation>
    </message>
    <message>
        <source>频段的下限高于上限，频段未保存。</source>
        <translation>The lower band limit is above the upper one; the band was not saved.</translation>
    </message>
    <message>
        <source>提示</source>
        <translation>Notice</translation>
    </message>
    <message>
        <source>错误</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>无法写入设置文件 %1，%2 的新频段只在本次运行中有效。</source>
        <translation>Cannot write the settings file %1; the new band of %2 holds for this run only.</translation>
    </message>
</context>
<context>
    <name>Value</name>
    <message>
        <source>打开</source>
        <comment>state</comment>
        <translation>On</translation>
    </message>
    <message>
        <source>关闭</source>
        <comment>state</comment>
        <translation>Off</translation>
    </message>
    <message>
        <source>有效</source>
        <translation>On</translation>
    </message>
    <message>
        <source>无效</source>
        <translation>Off</translation>
    </message>
    <message>
        <source>关</source>
        <translation>Off</translation>
    </message>
    <message>
        <source>中文</source>
        <translation>Chinese</translation>
    </message>
    <message>
        <source>英文</source>
        <translation>English</translation>
    </message>
    <message>
        <source>是</source>
        <translation>Yes</translation>
    </message>
    <message>
        <source>否</source>
        <translation>No</translation>
    </message>
    <message>
        <source>宽</source>
        <translation>Wide</translation>
    </message>
    <message>
        <source>窄</source>
        <translation>Narrow</translation>
    </message>
    <message>
        <source>高</source>
        <translation>High</translation>
    </message>
    <message>
        <source>中</source>
        <translation>Mid</translation>
    </message>
    <message>
        <source>低</source>
        <translation>Low</translation>
    </message>
    <message>
        <source>正</source>
        <translation>+</translation>
    </message>
    <message>
        <source>负</source>
        <translation>−</translation>
    </message>
</context>
<context>
    <name>appinfo</name>
    <message>
        <source>TARNIK编程软件</source>
        <translation>TARNIK programming software</translation>
    </message>
</context>
<context>
    <name>codec</name>
    <message>
        <source>类型不匹配：&quot;%1&quot; 不是十六进制数</source>
        <translation>Type mismatch: &quot;%1&quot; is not a hexadecimal number</translation>
    </message>
    <message>
        <source>频率 &quot;%1&quot; 不是 000.00000 格式</source>
        <translation>Frequency &quot;%1&quot; is not in the form 000.00000</translation>
    </message>
    <message>
        <source>信令 &quot;%1&quot; 不在信令表中</source>
        <translation>Signalling &quot;%1&quot; is not in the signalling list</translation>
    </message>
    <message>
        <source>第 %1 信道的%2：</source>
        <translation>Channel %1, %2:</translation>
    </message>
</context>
<context>
    <name>commandhints</name>
    <message>
        <source>打开信道文件 (*.chp)</source>
        <translation>Open a channel file (*.chp)</translation>
    </message>
    <message>
        <source>保存到当前文件；没有当前文件时询问文件名</source>
        <translation>Save to the current file; asks for a file name when there is none</translation>
    </message>
    <message>
        <source>以新文件名保存信道数据</source>
        <translation>Save the channel data under a new file name</translation>
    </message>
    <message>
        <source>预览并打印信道数据表</source>
        <translation>Preview and print the channel table</translation>
    </message>
    <message>
        <source>退出程序</source>
        <translation>Quit the program</translation>
    </message>
    <message>
        <source>从对讲机读取全部数据</source>
        <translation>Read all data from the radio</translation>
    </message>
    <message>
        <source>把全部数据写入对讲机</source>
        <translation>Write all data to the radio</translation>
    </message>
    <message>
        <source>撤销上一步修改</source>
        <translation>Undo the last change</translation>
    </message>
    <message>
        <source>重做撤销的修改</source>
        <translation>Redo the change undone</translation>
    </message>
    <message>
        <source>进入调整模式（需要密码）</source>
        <translation>Enter tune mode (password required)</translation>
    </message>
    <message>
        <source>选择连接对讲机的串口</source>
        <translation>Choose the serial port the radio is connected to</translation>
    </message>
    <message>
        <source>打开帮助</source>
        <translation>Open the help</translation>
    </message>
    <message>
        <source>程序版本与系统信息</source>
        <translation>Program version and system information</translation>
    </message>
</context>
<context>
    <name>gridedits</name>
    <message>
        <source>不在可选项中</source>
        <translation>is not one of the choices</translation>
    </message>
    <message>
        <source>不是频率</source>
        <translation>is not a frequency</translation>
    </message>
    <message>
        <source>信道 %1 %2 “%3”：%4</source>
        <translation>Channel %1 %2 &quot;%3&quot;: %4</translation>
    </message>
    <message>
        <source>没有可作起点的接收频率</source>
        <translation>no receive frequency to start from</translation>
    </message>
</context>
<context>
    <name>gridrules</name>
    <message>
        <source>当前机型没有设定频段，请在调整模式中设定频段</source>
        <translation>The current model has no band set; set the band in tune mode</translation>
    </message>
    <message>
        <source>请在正确的频率范围输入</source>
        <translation>Please enter a frequency within the range</translation>
    </message>
    <message>
        <source>输入的频率需为6.25K或5K的整数</source>
        <translation>The frequency must be a multiple of 6.25 kHz or 5 kHz</translation>
    </message>
    <message>
        <source>提示</source>
        <translation>Notice</translation>
    </message>
</context>
<context>
    <name>lang</name>
    <message>
        <source>--lang 需要 en 或 zh</source>
        <translation>--lang needs en or zh</translation>
    </message>
    <message>
        <source>--lang 需要 en 或 zh，而不是 %1</source>
        <translation>--lang needs en or zh, not %1</translation>
    </message>
</context>
</TS>
