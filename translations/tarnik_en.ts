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
    <message>
        <source>提示</source>
        <translation>Notice</translation>
    </message>
    <message>
        <source>写频错误，请重新写频</source>
        <translation>Writing the radio failed, please write again</translation>
    </message>
    <message>
        <source>读频错误，请重新读频</source>
        <translation>Reading the radio failed, please read again</translation>
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
    <name>DoctorCommands</name>
    <message>
        <source>可以打开</source>
        <translation>can be opened</translation>
    </message>
    <message>
        <source>不能打开：你不在 %1 组中（tarnik-cli doctor 给出解决的命令）</source>
        <translation>cannot be opened: you are not in the group %1 (tarnik-cli doctor gives the command that fixes it)</translation>
    </message>
    <message>
        <source>不能打开：已加入 %1 组，重新登录后生效</source>
        <translation>cannot be opened: added to the group %1, takes effect at the next login</translation>
    </message>
    <message>
        <source>不能打开：权限 %1（tarnik-cli doctor 给出解决的命令）</source>
        <translation>cannot be opened: permissions %1 (tarnik-cli doctor gives the command that fixes it)</translation>
    </message>
    <message>
        <source>设备不存在</source>
        <translation>device does not exist</translation>
    </message>
    <message>
        <source>用法: %1</source>
        <translation>Usage: %1</translation>
    </message>
    <message>
        <source>没有找到串口（tarnik-cli doctor 帮你查原因）</source>
        <translation>No serial port found (tarnik-cli doctor helps you find out why)</translation>
    </message>
    <message>
        <source>%1（可能是编程线）</source>
        <translation>%1 (probably the programming cable)</translation>
    </message>
    <message>
        <source>；正被 %1（pid %2）占用</source>
        <translation>; held by %1 (pid %2)</translation>
    </message>
    <message>
        <source>、</source>
        <comment>list separator</comment>
        <translation>, </translation>
    </message>
    <message>
        <source>没有发现问题：%1 可以打开。</source>
        <translation>No problem found: %1 can be opened.</translation>
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
        <source>请重新写频。</source>
        <translation>Write the radio again.</translation>
    </message>
    <message>
        <source>请重新写频；写频前的备份：%1</source>
        <translation>Write the radio again; backup made before the write: %1</translation>
    </message>
    <message numerus="yes">
        <source>校验失败：对讲机中读回的数据有 %n 处与写入的不同（写入 → 读回）：</source>
        <translation>
            <numerusform>Verify failed: what was read back from the radio differs from what was written in %n place (written → read back):</numerusform>
            <numerusform>Verify failed: what was read back from the radio differs from what was written in %n places (written → read back):</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>……另有 %n 处不同</source>
        <translation>
            <numerusform>…and %n more difference</numerusform>
            <numerusform>…and %n more differences</numerusform>
        </translation>
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
    <name>LinkCommands</name>
    <message>
        <source>用法: %1</source>
        <translation>Usage: %1</translation>
    </message>
    <message>
        <source>%1：不是普通文件</source>
        <translation>%1: not a regular file</translation>
    </message>
    <message>
        <source>%1：文件只读</source>
        <translation>%1: the file is read-only</translation>
    </message>
    <message>
        <source>无法在文件夹 %1 中创建文件</source>
        <translation>Cannot create a file in the folder %1</translation>
    </message>
    <message>
        <source>无法删除旧文件</source>
        <translation>cannot delete the old file</translation>
    </message>
    <message>
        <source>写频进度显示</source>
        <translation>Writing progress</translation>
    </message>
    <message>
        <source>读频进度显示</source>
        <translation>Reading progress</translation>
    </message>
    <message>
        <source>确定要开始写频吗?</source>
        <translation>Start writing the radio?</translation>
    </message>
    <message>
        <source>确定要开始读频吗?</source>
        <translation>Start reading the radio?</translation>
    </message>
    <message>
        <source>无法删除文件 %1</source>
        <translation>Cannot delete the file %1</translation>
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
    <message>
        <source>端口选择</source>
        <translation>Communication port</translation>
    </message>
    <message>
        <source>%1  ← 可能是编程线</source>
        <translation>%1  ← probably the programming cable</translation>
    </message>
    <message>
        <source>其他设备（填写后使用此设备）：</source>
        <translation>Other device (used when filled in):</translation>
    </message>
    <message>
        <source>/dev/pts/3 或 /dev/serial/by-id/…</source>
        <translation>/dev/pts/3 or /dev/serial/by-id/…</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>设备 %1 不存在。请检查编程线是否插好，或改填其他设备（tarnik-cli ports 列出现有的串口）。

仍然使用这个设备吗？</source>
        <translation>Device %1 does not exist. Check that the programming cable is plugged in, or enter another device (tarnik-cli ports lists the serial ports).

Use this device anyway?</translation>
    </message>
    <message>
        <source>端口转换成COM%1</source>
        <translation>Switch port to COM%1</translation>
    </message>
    <message>
        <source>端口转换成%1</source>
        <translation>Switch port to %1</translation>
    </message>
    <message>
        <source>提示</source>
        <translation>Notice</translation>
    </message>
    <message>
        <source>端口：%1</source>
        <translation>Port: %1</translation>
    </message>
    <message>
        <source>端口：COM%1</source>
        <translation>Port: COM%1</translation>
    </message>
    <message>
        <source>%1（未找到设备）</source>
        <translation>%1 (device not found)</translation>
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
    <message>
        <source>编程线（USB %1）已插上，但系统没有为它建立串口：盲文显示器服务 brltty 把这类芯片当作盲文显示器占用了。停用它，然后拔下编程线再插上。</source>
        <translation>The programming cable (USB %1) is plugged in, but the system made no serial port for it: the braille display service brltty took the chip for a braille display. Stop it, then unplug the cable and plug it in again.</translation>
    </message>
    <message>
        <source>编程线（USB %1）已插上，但系统没有为它建立串口：驱动没有加载。加载驱动，然后拔下编程线再插上；仍不行时用 dmesg 查看原因。</source>
        <translation>The programming cable (USB %1) is plugged in, but the system made no serial port for it: the driver is not loaded. Load the driver, then unplug the cable and plug it in again; if that does not help, see dmesg for the reason.</translation>
    </message>
    <message>
        <source>盲文显示器服务 brltty 正在运行：它会占用 CH340、CP210x、FTDI 等芯片的编程线，使串口在插上后又消失。不用盲文显示器时请停用它。</source>
        <translation>The braille display service brltty is running: it grabs programming cables with CH340, CP210x, FTDI and similar chips, so the serial port vanishes after it is plugged in. Stop it if you use no braille display.</translation>
    </message>
    <message>
        <source>请检查编程线是否插好（也可换一个 USB 口），插上后用 dmesg 查看系统是否识别了它。</source>
        <translation>Check that the programming cable is plugged in (or try another USB socket), then see with dmesg whether the system recognised it.</translation>
    </message>
    <message>
        <source>没有找到任何串口设备。%1</source>
        <translation>No serial device found at all. %1</translation>
    </message>
    <message>
        <source>没有找到 USB 编程线，只有电脑自带的串口 %1。用 USB 编程线时，%2</source>
        <translation>No USB programming cable found, only the computer&apos;s own serial ports %1. With a USB programming cable: %2</translation>
    </message>
    <message>
        <source>、</source>
        <comment>list separator</comment>
        <translation>, </translation>
    </message>
    <message>
        <source>设备 %1 不存在。请检查编程线是否插好，插上后用 dmesg 查看系统给它的名字，或用 tarnik-cli ports 列出现有的串口。</source>
        <translation>Device %1 does not exist. Check that the programming cable is plugged in, see with dmesg which name the system gave it, or list the serial ports with tarnik-cli ports.</translation>
    </message>
    <message>
        <source>用户 %1 不在拥有 %2 的组 %3 中，不能打开它。把用户加入该组，然后注销并重新登录。</source>
        <translation>User %1 is not in the group %3 that owns %2 and cannot open it. Add the user to that group, then log out and in again.</translation>
    </message>
    <message>
        <source>用户 %1 已在组 %2 中，但本次登录还没有生效：请注销并重新登录（只在当前终端生效可运行下面的命令）。</source>
        <translation>User %1 is in the group %2, but not yet in this login: log out and in again (or run the command below for this terminal only).</translation>
    </message>
    <message>
        <source>%1 的权限是 %2（组 %3），组成员也不能读写它。改成 0660%4。</source>
        <translation>%1 has permissions %2 (group %3), so group members cannot read and write it either. Change them to 0660%4.</translation>
    </message>
    <message>
        <source>；要长期有效，安装 TARNIK 的 udev 规则</source>
        <translation>; to make it last, install the TARNIK udev rule</translation>
    </message>
    <message>
        <source>%1 正被进程 %2（pid %3）占用。请关闭那个程序，或结束该进程。</source>
        <translation>%1 is held by the process %2 (pid %3). Close that program or end the process.</translation>
    </message>
    <message>
        <source>调制解调器管理服务 ModemManager 正在运行：编程线插上后的几十秒里它会探测 %1，这时读频、写频可能失败。安装 TARNIK 的 udev 规则让它忽略编程线。</source>
        <translation>The modem manager service ModemManager is running: for some tens of seconds after the cable is plugged in it probes %1, and reading or writing the radio may fail then. Install the TARNIK udev rule so that it ignores programming cables.</translation>
    </message>
    <message>
        <source>问题</source>
        <translation>Problem</translation>
    </message>
    <message>
        <source>注意</source>
        <translation>Note</translation>
    </message>
    <message>
        <source>提示</source>
        <translation>Notice</translation>
    </message>
    <message numerus="yes">
        <source>有 %n 个其他用户的进程无法查看；它们是否占用串口，可用下面的命令查看。</source>
        <translation>
            <numerusform>%n process of another user cannot be examined; the command below shows whether it holds the port.</numerusform>
            <numerusform>%n processes of other users cannot be examined; the command below shows whether they hold the port.</numerusform>
        </translation>
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
    <name>RadioLine</name>
    <message>
        <source>通信端口没有响应，请确保连接正确和电源打开</source>
        <translation>The communication port does not answer; make sure the cable is connected and the radio is switched on</translation>
    </message>
    <message>
        <source>TARNIK编程软件</source>
        <translation>TARNIK programming software</translation>
    </message>
    <message>
        <source>信息提示</source>
        <translation>Information</translation>
    </message>
    <message>
        <source>通信错误</source>
        <translation>Communication error</translation>
    </message>
</context>
<context>
    <name>RadioLink</name>
    <message>
        <source>正在连接对讲机。。。</source>
        <translation>Connecting to the radio...</translation>
    </message>
    <message>
        <source>正在从对讲机读取数据。。。</source>
        <translation>Reading data from the radio...</translation>
    </message>
    <message>
        <source>正在向对讲机写入数据。。。</source>
        <translation>Writing data to the radio...</translation>
    </message>
    <message>
        <source>信息提示</source>
        <translation>Information</translation>
    </message>
    <message>
        <source>无法创建文件夹 %1</source>
        <translation>Cannot create the folder %1</translation>
    </message>
    <message>
        <source>无法写入文件 %1：%2</source>
        <translation>Cannot write the file %1: %2</translation>
    </message>
    <message>
        <source>错误</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>错误号：%1%2</source>
        <translation>Error number: %1 %2</translation>
    </message>
    <message numerus="yes">
        <source>读频没有完成，已收到的 %n 块数据保存在 %1</source>
        <translation>
            <numerusform>The read did not finish; the %n block received is saved in %1</numerusform>
            <numerusform>The read did not finish; the %n blocks received are saved in %1</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>RadioSim</name>
    <message>
        <source>第 %1 行不足 12 个数</source>
        <translation>Line %1 has fewer than 12 numbers</translation>
    </message>
    <message>
        <source>第 %1 行的数据不是十六进制字节</source>
        <translation>The data of line %1 are not hexadecimal bytes</translation>
    </message>
</context>
<context>
    <name>RadioTuning</name>
    <message>
        <source>负</source>
        <translation>−</translation>
    </message>
    <message>
        <source>正</source>
        <translation>+</translation>
    </message>
    <message>
        <source>晶振 %1，中频 %2，功率档 %3</source>
        <translation>crystal %1, IF %2, power level %3</translation>
    </message>
    <message>
        <source>晶振 %1</source>
        <translation>crystal %1</translation>
    </message>
    <message>
        <source>中频 %1</source>
        <translation>IF %1</translation>
    </message>
    <message>
        <source>功率档 %1</source>
        <translation>power level %1</translation>
    </message>
    <message>
        <source>已保留本机调整值：%1</source>
        <translation>Kept the radio&apos;s own tuning: %1</translation>
    </message>
    <message>
        <source>%1（文件中为 %2）</source>
        <translation>%1 (the file has %2)</translation>
    </message>
    <message>
        <source>，</source>
        <comment>list separator</comment>
        <translation>, </translation>
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
    <message>
        <source>%1；%2</source>
        <comment>two folders</comment>
        <translation>%1; %2</translation>
    </message>
    <message>
        <source>备份</source>
        <translation>Backup</translation>
    </message>
    <message>
        <source>写频</source>
        <translation>Write</translation>
    </message>
    <message>
        <source>校验</source>
        <translation>Verify</translation>
    </message>
    <message>
        <source>%1（%2/%3）：%4</source>
        <translation>%1 (%2/%3): %4</translation>
    </message>
    <message>
        <source>写频未完成：对讲机中只有部分新数据，请重新写频。</source>
        <translation>Write not finished: the radio holds only part of the new data. Write it again.</translation>
    </message>
    <message>
        <source>%1写频前的备份：%2</source>
        <translation>%1 Backup made before the write: %2</translation>
    </message>
    <message>
        <source>已取消：写频前的备份读频没有完成，对讲机未被改动。</source>
        <translation>Cancelled: the backup read before the write did not finish; the radio was not changed.</translation>
    </message>
    <message>
        <source>备份读频失败，没有写频，对讲机未被改动。</source>
        <translation>The backup read failed; nothing was written and the radio was not changed.</translation>
    </message>
    <message>
        <source>无法保存备份，没有写频，对讲机未被改动。</source>
        <translation>The backup cannot be saved; nothing was written and the radio was not changed.</translation>
    </message>
    <message>
        <source>写频已完成，但校验读频没有完成，对讲机中的数据未经校验。</source>
        <translation>The write finished, but the verify read did not; the data in the radio is not verified.</translation>
    </message>
    <message>
        <source>写频完成，校验无误。</source>
        <translation>Write finished and verified.</translation>
    </message>
    <message>
        <source>写频完成。</source>
        <translation>Write finished.</translation>
    </message>
    <message>
        <source>写频前的备份：%1</source>
        <translation>Backup made before the write: %1</translation>
    </message>
</context>
<context>
    <name>SafeWriteCommand</name>
    <message>
        <source>请连接第 %1 台对讲机，然后按回车键</source>
        <translation>Connect radio %1, then press Enter</translation>
    </message>
    <message>
        <source>台号	时间		结果	备份</source>
        <translation>Radio	Time		Result	Backup</translation>
    </message>
</context>
<context>
    <name>SafeWriteCommands</name>
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
    <message>
        <source>写频进度显示</source>
        <translation>Writing progress</translation>
    </message>
    <message>
        <source>提示</source>
        <translation>Notice</translation>
    </message>
    <message>
        <source>%1

要把写频前的备份载入编辑器吗？</source>
        <translation>%1

Load the backup made before the write into the editor?</translation>
    </message>
    <message>
        <source>确定要开始写频吗?</source>
        <translation>Start writing the radio?</translation>
    </message>
    <message>
        <source>确定要开始批量写频吗?</source>
        <translation>Start writing several radios?</translation>
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
        <source>请连接第 %1 台对讲机</source>
        <translation>Connect radio %1</translation>
    </message>
    <message>
        <source>关闭</source>
        <comment>close the window</comment>
        <translation>Close</translation>
    </message>
    <message>
        <source>成功</source>
        <comment>fleet result</comment>
        <translation>OK</translation>
    </message>
    <message>
        <source>校验失败</source>
        <comment>fleet result</comment>
        <translation>Verify failed</translation>
    </message>
    <message>
        <source>通信失败</source>
        <comment>fleet result</comment>
        <translation>Link failed</translation>
    </message>
    <message>
        <source>取消</source>
        <comment>fleet result</comment>
        <translation>Cancelled</translation>
    </message>
    <message>
        <source>机型不符</source>
        <comment>fleet result</comment>
        <translation>Wrong model</translation>
    </message>
    <message>
        <source>文件错误</source>
        <comment>fleet result</comment>
        <translation>File error</translation>
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
    <name>SerialPorts</name>
    <message>
        <source>无法打开串口 %1：%2</source>
        <translation>Cannot open the serial port %1: %2</translation>
    </message>
    <message>
        <source>%1。请检查编程线是否已连接，或在“端口选择”中选择其他端口。</source>
        <translation>%1. Check that the programming cable is connected, or choose another port under &quot;Communication&quot;.</translation>
    </message>
    <message>
        <source>%1。当前用户没有使用串口的权限：请把用户加入 %2 组（sudo usermod -aG %3 $USER），然后注销并重新登录。</source>
        <translation>%1. The current user may not use serial ports: add the user to the group %2 (sudo usermod -aG %3 $USER), then log out and in again.</translation>
    </message>
    <message>
        <source>%1（pid %2）</source>
        <translation>%1 (pid %2)</translation>
    </message>
    <message>
        <source>%1。串口正被其他程序使用%2。</source>
        <translation>%1. The serial port is in use by another program%2.</translation>
    </message>
    <message>
        <source>（tarnik-cli doctor --port %1 可以查出原因）</source>
        <translation> (tarnik-cli doctor --port %1 finds out why)</translation>
    </message>
    <message>
        <source>%1。串口正被 %2 使用：请关闭它后再试。</source>
        <translation>%1. The serial port is in use by %2: close it and try again.</translation>
    </message>
    <message>
        <source>、</source>
        <comment>list separator</comment>
        <translation>, </translation>
    </message>
    <message numerus="yes">
        <source>端口 COM%1 不存在：系统只列出 %n 个串口。请在“端口选择”中选择端口或填写设备。</source>
        <translation>
            <numerusform>Port COM%1 does not exist: the system lists only %n serial port. Choose a port or enter a device under &quot;Communication&quot;.</numerusform>
            <numerusform>Port COM%1 does not exist: the system lists only %n serial ports. Choose a port or enter a device under &quot;Communication&quot;.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>SerialTransport</name>
    <message>
        <source>串口没有打开，无法发送数据。</source>
        <translation>The serial port is not open; no data can be sent.</translation>
    </message>
    <message>
        <source>向串口 %1 发送数据失败：%2</source>
        <translation>Sending data to the serial port %1 failed: %2</translation>
    </message>
    <message>
        <source>串口 %1 已断开：编程线已拔出或对方已挂断</source>
        <translation>The serial port %1 was disconnected: the cable was pulled out or the other side hung up</translation>
    </message>
    <message>
        <source>串口 %1 已断开：%2</source>
        <translation>The serial port %1 was disconnected: %2</translation>
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
    <name>SimTransport</name>
    <message>
        <source>串口没有打开，无法发送数据。</source>
        <translation>The serial port is not open; no data can be sent.</translation>
    </message>
    <message>
        <source>向串口 sim 发送数据失败：线路中断</source>
        <translation>Sending data to the serial port sim failed: line broken</translation>
    </message>
    <message>
        <source>串口 sim 已断开：对方挂断</source>
        <translation>The serial port sim was disconnected: the other side hung up</translation>
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
    <message>
        <source>正在向对讲机读取数据。。。</source>
        <translation>Reading data from the radio...</translation>
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
        <source>写频错误，请重新写频</source>
        <translation>Writing the radio failed, please write again</translation>
    </message>
    <message>
        <source>读频错误，请重新读频</source>
        <translation>Reading the radio failed, please read again</translation>
    </message>
    <message>
        <source>对讲机中只有部分新数据，请重新写频</source>
        <translation>The radio holds only part of the new data; write it again</translation>
    </message>
    <message>
        <source>提示</source>
        <translation>Notice</translation>
    </message>
    <message>
        <source>确定要取消吗</source>
        <translation>Cancel the transfer?</translation>
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
<context>
    <name>tarnik-cli</name>
    <message>
        <source>用法: tarnik-cli &lt;命令&gt; [参数]</source>
        <translation>Usage: tarnik-cli &lt;command&gt; [arguments]</translation>
    </message>
    <message>
        <source>命令:</source>
        <translation>Commands:</translation>
    </message>
    <message>
        <source>  show FILE.chp [--json]        显示信道文件的功能设置和 16 个信道</source>
        <translation>  show FILE.chp [--json]        show the functions and the 16 channels of a channel file</translation>
    </message>
    <message>
        <source>  save-canonical IN.chp OUT.chp 读入 IN 并按“另存”的格式保存为 OUT</source>
        <translation>  save-canonical IN.chp OUT.chp read IN and save it as OUT the way &quot;Save as&quot; does</translation>
    </message>
    <message>
        <source>  diff A.chp B.chp              逐项列出两个信道文件的不同（退出码 0 相同, 1 不同）</source>
        <translation>  diff A.chp B.chp              list the differences of two channel files (exit status 0 same, 1 different)</translation>
    </message>
    <message>
        <source>  report FILE.chp --pdf OUT.pdf 把打印报表写成 PDF</source>
        <translation>  report FILE.chp --pdf OUT.pdf write the printed report as a PDF</translation>
    </message>
    <message>
        <source>  ports                         列出串口（COM1…COM4 依次对应前四个）、芯片和能否打开</source>
        <translation>  ports                         list the serial ports (COM1…COM4 are the first four), their chips and whether they open</translation>
    </message>
    <message>
        <source>  doctor [--port DEV]           检查串口为什么不能用，并给出解决的命令</source>
        <translation>  doctor [--port DEV]           find out why a serial port cannot be used and give the command that fixes it</translation>
    </message>
    <message>
        <source>  read --port DEV --out FILE    从对讲机读频，读完后把收到的数据一次写入 FILE</source>
        <translation>  read --port DEV --out FILE    read the radio; when done the data received goes into FILE at once</translation>
    </message>
    <message>
        <source>  write --port DEV FILE.chp     打开信道文件并写入对讲机：先读频备份，保留本机调整值，写后读回校验</source>
        <translation>  write --port DEV FILE.chp     open a channel file and write it to the radio: back up by reading first, keep the radio&apos;s own tuning, read back to verify</translation>
    </message>
    <message>
        <source>        [--port DEV2 …]         再给端口：每个端口连接一台对讲机，同时写频，每个端口一行结果</source>
        <translation>        [--port DEV2 …]         more ports: one radio on each, all written at once, one result line a port</translation>
    </message>
    <message>
        <source>        [--ports DEV1,DEV2,…]   同上，端口用逗号分隔（同一设备给两次则拒绝）</source>
        <translation>        [--ports DEV1,DEV2,…]   the same, ports separated by commas (a device given twice is refused)</translation>
    </message>
    <message>
        <source>        [--no-backup]           不备份（写入文件中的调整值）</source>
        <translation>        [--no-backup]           no backup (writes the tuning values of the file)</translation>
    </message>
    <message>
        <source>        [--no-verify]           写后不校验</source>
        <translation>        [--no-verify]           do not verify after writing</translation>
    </message>
    <message>
        <source>        [--file-tuning]         写入文件中的晶振、中频和功率档</source>
        <translation>        [--file-tuning]         write the crystal, IF and power level of the file</translation>
    </message>
    <message>
        <source>        [--any-model]           对讲机机型与文件机型不同时也写频</source>
        <translation>        [--any-model]           write also when the radio&apos;s model differs from the file&apos;s</translation>
    </message>
    <message>
        <source>        [--count N]             依次写 N 台（0 为直到输入结束），台与台之间按回车键</source>
        <translation>        [--count N]             write N radios one after another (0: until the input ends), Enter between radios</translation>
    </message>
    <message>
        <source>                                多个端口时每批每个端口一台，批与批之间按回车键</source>
        <translation>                                with several ports: one radio a port per batch, Enter between batches</translation>
    </message>
    <message>
        <source>  export-csv FILE.chp OUT.csv   把信道导出为通用信道表 CSV</source>
        <translation>  export-csv FILE.chp OUT.csv   export the channels as a common channel table CSV</translation>
    </message>
    <message>
        <source>                                从 CSV 导入信道（功能设置和机型取自 FILE）；有未采用的行或数值时</source>
        <translation>                                import channels from CSV (functions and model taken from FILE); when a line or value</translation>
    </message>
    <message>
        <source>                                仍写出 OUT，退出码为 1</source>
        <translation>                                is not taken, OUT is still written and the exit status is 1</translation>
    </message>
    <message>
        <source>  --lang en|zh                  输出的语言：英文或中文（默认中文），可放在任何位置</source>
        <translation>  --lang en|zh                  language of the output: English or Chinese (default Chinese), anywhere on the line</translation>
    </message>
    <message>
        <source>  --help                        显示本帮助</source>
        <translation>  --help                        show this help</translation>
    </message>
    <message>
        <source>  --version                     显示版本</source>
        <translation>  --version                     show the version</translation>
    </message>
    <message>
        <source>退出码: 0 成功, 1 通信失败或取消, 2 用法或文件错误</source>
        <translation>Exit status: 0 success, 1 link failure or cancelled, 2 usage or file error</translation>
    </message>
    <message>
        <source>tarnik-cli: 未知命令 &quot;%1&quot;</source>
        <translation>tarnik-cli: unknown command &quot;%1&quot;</translation>
    </message>
</context>
<context>
    <name>tarnik-sim</name>
    <message>
        <source>用法: tarnik-sim [选项]</source>
        <translation>Usage: tarnik-sim [options]</translation>
    </message>
    <message>
        <source>在伪终端上模拟对讲机；第一行输出设备路径，之后每个会话（一次读频或写频）输出一行。</source>
        <translation>Simulates a radio on a pseudo-terminal; prints the device path as its first line, then one line for every session (one read or write).</translation>
    </message>
    <message>
        <source>  --image FILE.chp        开始时的存储内容（缺省为出厂内容）</source>
        <translation>  --image FILE.chp        the memory at the start (factory contents by default)</translation>
    </message>
    <message>
        <source>  --dump FILE             每次写频会话后把存储内容写成信道文件</source>
        <translation>  --dump FILE             after every write session, write the memory as a channel file</translation>
    </message>
    <message>
        <source>  --baud N                按 N 波特（每字节 10 位）计时；0 为立即应答（缺省 9600）</source>
        <translation>  --baud N                time the line at N baud (10 bits a byte); 0 answers at once (default 9600)</translation>
    </message>
    <message>
        <source>  --once                  电脑第一次关闭串口后退出</source>
        <translation>  --once                  exit when the PC first closes the port</translation>
    </message>
    <message>
        <source>  --silent                完全不应答</source>
        <translation>  --silent                never answer</translation>
    </message>
    <message>
        <source>  --silent-after-block N  应答到第 N 块（从 0 起）为止，之后不再应答</source>
        <translation>  --silent-after-block N  answer up to block N (from 0), then no more</translation>
    </message>
    <message>
        <source>  --nak-at-block N        第 N 块以 15 应答</source>
        <translation>  --nak-at-block N        answer block N with 15</translation>
    </message>
    <message>
        <source>  --reply-len N           读块应答的长度（缺省 12）</source>
        <translation>  --reply-len N           length of a block read reply (default 12)</translation>
    </message>
    <message>
        <source>  --garbage-at-block N    第 N 块的应答为乱码</source>
        <translation>  --garbage-at-block N    answer block N with garbage</translation>
    </message>
    <message>
        <source>  --hangup-at-block N     到第 N 块时挂断线路并退出</source>
        <translation>  --hangup-at-block N     hang up the line at block N and exit</translation>
    </message>
    <message>
        <source>  --handshake-answer HEX  对联机序列的应答（缺省 060606）</source>
        <translation>  --handshake-answer HEX  the answer to the opening sequence (default 060606)</translation>
    </message>
    <message>
        <source>  --corrupt-at-block N    第 N 块照常应答，但存入的第一个字节不同</source>
        <translation>  --corrupt-at-block N    answer block N as usual, but store its first byte changed</translation>
    </message>
    <message>
        <source>  --tuning HEX            开始前把功能标志字节和功率档设为这两个字节（如 3019）</source>
        <translation>  --tuning HEX            set the function flag byte and the power level to these two bytes first (e.g. 3019)</translation>
    </message>
    <message>
        <source>  --model-code HEX        开始前把机型代码设为这个字节（如 24）</source>
        <translation>  --model-code HEX        set the model code to this byte first (e.g. 24)</translation>
    </message>
    <message>
        <source>  --late-ack MS           写频最后一块的应答和读频最后一个 06 的应答推迟 MS 毫秒</source>
        <translation>  --late-ack MS           delay the answer to a write&apos;s last block and to a read&apos;s last 06 by MS ms</translation>
    </message>
    <message>
        <source>  --flood                 电脑一开始发送就全速送出随机字节，不再应答</source>
        <translation>  --flood                 once the PC sends, send random bytes at full speed and answer nothing</translation>
    </message>
    <message>
        <source>  --lang en|zh            输出的语言：英文或中文（默认中文）</source>
        <translation>  --lang en|zh            the language of the output: English or Chinese (Chinese by default)</translation>
    </message>
    <message>
        <source>未知选项 &quot;%1&quot;</source>
        <translation>Unknown option &quot;%1&quot;</translation>
    </message>
    <message>
        <source>选项 %1 的值不对</source>
        <translation>Bad value for option %1</translation>
    </message>
    <message>
        <source>无法创建伪终端：%1</source>
        <translation>Cannot create a pseudo-terminal: %1</translation>
    </message>
</context>
</TS>
