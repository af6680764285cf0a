<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="zh_CN">
<context>
    <name>buttons</name>
    <message>
        <source>%1 属性</source>
        <translation>%1 Properties</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>否(&amp;N)</source>
        <translation>&amp;No</translation>
    </message>
    <message>
        <source>属性</source>
        <translation>Properties</translation>
    </message>
    <message>
        <source>应用(&amp;A)</source>
        <translation>&amp;Apply</translation>
    </message>
    <message>
        <source>是(&amp;Y)</source>
        <translation>&amp;Yes</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>dialog 100</name>
    <message>
        <source>关于 Quadrel</source>
        <translation>About Quadrel</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>dialog 287</name>
    <message>
        <source>切换时间:</source>
        <translation>Switch time:</translation>
    </message>
    <message>
        <source>启动</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>快速切换:</source>
        <translation>Fast switch:</translation>
    </message>
    <message>
        <source>手动</source>
        <translation>Manual</translation>
    </message>
    <message>
        <source>有效通道:</source>
        <translation>Active channels:</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>秒</source>
        <translation>s</translation>
    </message>
    <message>
        <source>自动</source>
        <translation>Auto</translation>
    </message>
    <message>
        <source>通道1</source>
        <translation>Channel 1</translation>
    </message>
    <message>
        <source>通道2</source>
        <translation>Channel 2</translation>
    </message>
    <message>
        <source>通道3</source>
        <translation>Channel 3</translation>
    </message>
    <message>
        <source>通道4</source>
        <translation>Channel 4</translation>
    </message>
    <message>
        <source>通道信号重置</source>
        <translation>Channel signal reset</translation>
    </message>
    <message>
        <source>通道控制</source>
        <translation>Channel control</translation>
    </message>
    <message>
        <source>通道描述</source>
        <translation>Channel name</translation>
    </message>
    <message>
        <source>通道设置</source>
        <translation>Channel settings</translation>
    </message>
    <message>
        <source>重置</source>
        <translation>Reset</translation>
    </message>
</context>
<context>
    <name>dialog 288</name>
    <message>
        <source>中</source>
        <translation>Medium</translation>
    </message>
    <message>
        <source>低</source>
        <translation>Low</translation>
    </message>
    <message>
        <source>保存路径设置:</source>
        <translation>Save folder:</translation>
    </message>
    <message>
        <source>密码:</source>
        <translation>Password:</translation>
    </message>
    <message>
        <source>录制设置</source>
        <translation>Recording</translation>
    </message>
    <message>
        <source>浏览</source>
        <translation>Browse</translation>
    </message>
    <message>
        <source>用户名:</source>
        <translation>User:</translation>
    </message>
    <message>
        <source>用户设置</source>
        <translation>User</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>确认密码:</source>
        <translation>Confirm:</translation>
    </message>
    <message>
        <source>视频画质设置:</source>
        <translation>Video quality:</translation>
    </message>
    <message>
        <source>高</source>
        <translation>High</translation>
    </message>
</context>
<context>
    <name>dialog 289</name>
    <message>
        <source>从</source>
        <translation>from</translation>
    </message>
    <message>
        <source>到</source>
        <translation>to</translation>
    </message>
    <message>
        <source>单张 每天</source>
        <translation>Once a day</translation>
    </message>
    <message>
        <source>同录制保存路径</source>
        <translation>Same as recordings</translation>
    </message>
    <message>
        <source>图片保存设置</source>
        <translation>Picture folder</translation>
    </message>
    <message>
        <source>定时抓拍设置</source>
        <translation>Timed snapshots</translation>
    </message>
    <message>
        <source>抓拍模式:</source>
        <translation>Mode:</translation>
    </message>
    <message>
        <source>抓拍间隔:</source>
        <translation>Interval:</translation>
    </message>
    <message>
        <source>浏览</source>
        <translation>Browse</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>秒</source>
        <translation>s</translation>
    </message>
    <message>
        <source>自定义路径设置</source>
        <translation>Own folder</translation>
    </message>
    <message>
        <source>连续</source>
        <translation>Continuous</translation>
    </message>
</context>
<context>
    <name>dialog 290</name>
    <message>
        <source>SMTP服务器:</source>
        <translation>SMTP server:</translation>
    </message>
    <message>
        <source>SMTP服务器要求身份验证</source>
        <translation>SMTP server requires login</translation>
    </message>
    <message>
        <source>主题:</source>
        <translation>Subject:</translation>
    </message>
    <message>
        <source>信号丢失设置</source>
        <translation>Signal loss</translation>
    </message>
    <message>
        <source>发送账户名:</source>
        <translation>Sender:</translation>
    </message>
    <message>
        <source>发送邮件:</source>
        <translation>Send mail:</translation>
    </message>
    <message>
        <source>安全连接:</source>
        <translation>Security:</translation>
    </message>
    <message>
        <source>密码:</source>
        <translation>Password:</translation>
    </message>
    <message>
        <source>当信号丢失时发送邮件提示</source>
        <translation>Send a mail on signal loss</translation>
    </message>
    <message>
        <source>当信号丢失时开启警报提示</source>
        <translation>Sound the alarm on signal loss</translation>
    </message>
    <message>
        <source>接收邮件:</source>
        <translation>Recipient:</translation>
    </message>
    <message>
        <source>无 (不加密)</source>
        <translation>None (unencrypted)</translation>
    </message>
    <message>
        <source>正在发送测试邮件...</source>
        <translation>Sending test mail...</translation>
    </message>
    <message>
        <source>用户账户名:</source>
        <translation>Account:</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>端口:</source>
        <translation>Port:</translation>
    </message>
    <message>
        <source>自动上锁时间</source>
        <translation>Lock after</translation>
    </message>
    <message>
        <source>自动上锁设置</source>
        <translation>Automatic lock</translation>
    </message>
    <message>
        <source>邮件服务设置</source>
        <translation>Mail server</translation>
    </message>
    <message>
        <source>邮件测试</source>
        <translation>Test mail</translation>
    </message>
</context>
<context>
    <name>dialog 291</name>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>密码:</source>
        <translation>Password:</translation>
    </message>
    <message>
        <source>用户名:</source>
        <translation>User:</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>dialog 298</name>
    <message>
        <source>信息</source>
        <translation>Information</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>messages</name>
    <message>
        <source>TLS 握手失败 (handshake failed): </source>
        <translation>TLS handshake failed: </translation>
    </message>
    <message>
        <source>TLS 连接出错: </source>
        <translation>TLS connection error: </translation>
    </message>
    <message>
        <source>两次输入的密码不相同!</source>
        <translation>The two passwords differ!</translation>
    </message>
    <message>
        <source>内存不足 (out of memory)</source>
        <translation>Out of memory</translation>
    </message>
    <message>
        <source>发送已取消 (cancelled)</source>
        <translation>Sending cancelled</translation>
    </message>
    <message>
        <source>发送邮件失败!</source>
        <translation>Sending the mail failed!</translation>
    </message>
    <message>
        <source>发送邮件成功!</source>
        <translation>The mail was sent!</translation>
    </message>
    <message>
        <source>失败</source>
        <translation>Failed</translation>
    </message>
    <message>
        <source>对不起, 不能搜索到信号!</source>
        <translation>Sorry, no signal was found!</translation>
    </message>
    <message>
        <source>已修复上次未正常结束的录像: %1</source>
        <translation>Repaired unfinished recordings: %1</translation>
    </message>
    <message>
        <source>应用程序加载失败!</source>
        <translation>The application failed to load!</translation>
    </message>
    <message>
        <source>开始抓拍时间早于当前时间!</source>
        <translation>The start time is before now!</translation>
    </message>
    <message>
        <source>成功</source>
        <translation>Success</translation>
    </message>
    <message>
        <source>抓拍结束时间早于开始时间或者当前时间!</source>
        <translation>The end time is before the start time or now!</translation>
    </message>
    <message>
        <source>提示</source>
        <translation>Note</translation>
    </message>
    <message>
        <source>无效的用户名!</source>
        <translation>Invalid user name!</translation>
    </message>
    <message>
        <source>无法修复上次未正常结束的录像: %1</source>
        <translation>Cannot repair unfinished recordings: %1</translation>
    </message>
    <message>
        <source>无法到达服务器 (no route to host)</source>
        <translation>No route to the server</translation>
    </message>
    <message>
        <source>无法开始新的录制文件, 录制已停止!</source>
        <translation>Cannot start a new recording file; recording stopped!</translation>
    </message>
    <message>
        <source>服务器不提供 STARTTLS (STARTTLS not available)</source>
        <translation>The server does not offer STARTTLS</translation>
    </message>
    <message>
        <source>服务器关闭了连接 (connection closed)</source>
        <translation>The server closed the connection</translation>
    </message>
    <message>
        <source>服务器回复: </source>
        <translation>Server reply: </translation>
    </message>
    <message>
        <source>服务器拒绝连接 (connection refused)</source>
        <translation>The server refused the connection</translation>
    </message>
    <message>
        <source>服务器没有及时回复 (time-out)</source>
        <translation>The server did not reply in time</translation>
    </message>
    <message>
        <source>服务器证书验证失败 (certificate not verified): </source>
        <translation>Server certificate not verified: </translation>
    </message>
    <message>
        <source>没有找到监控设备!</source>
        <translation>No capture device found!</translation>
    </message>
    <message>
        <source>磁盘空间满, 不能保存抓图.</source>
        <translation>The disk is full; the snapshot cannot be saved.</translation>
    </message>
    <message>
        <source>端口无效 (invalid port)</source>
        <translation>Invalid port</translation>
    </message>
    <message>
        <source>结束时间早于当前时间!</source>
        <translation>The end time is before now!</translation>
    </message>
    <message>
        <source>无法读取设置文件 %1 (%2)。
本次运行使用默认设置, 更改的设置不会被保存。</source>
        <translation>The settings file %1 cannot be read (%2).
This run uses the default settings; changed settings will not be saved.</translation>
    </message>
    <message>
        <source>设置文件 %1 已损坏, 且无法另存。
能读出的设置已保留, 其余设置使用默认值, 更改的设置不会被保存。</source>
        <translation>The settings file %1 is damaged and could not be kept aside.
The settings that could be read were kept; the others are the defaults. Changed settings will not be saved.</translation>
    </message>
    <message>
        <source>设置文件 %1 已损坏, 原文件已另存为 %2。
能读出的设置已保留, 其余设置使用默认值。</source>
        <translation>The settings file %1 is damaged; the original was kept as %2.
The settings that could be read were kept; the others are the defaults.</translation>
    </message>
    <message>
        <source>警告</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>警报,设备被移除!!</source>
        <translation>Alarm: the device was removed!!</translation>
    </message>
    <message>
        <source>请在搜索信号结束后启动录制功能</source>
        <translation>Start recording after the signal search has finished</translation>
    </message>
    <message>
        <source>请检查磁盘剩余空间!</source>
        <translation>Please check the free disk space!</translation>
    </message>
    <message>
        <source>轮询时间设置值取值范围在1到255, 请重新输入!</source>
        <translation>The cycle time must be from 1 to 255; please enter it again!</translation>
    </message>
    <message>
        <source>输入密码错误!</source>
        <translation>Wrong password!</translation>
    </message>
    <message>
        <source>连接服务器超时 (time-out)</source>
        <translation>Connecting to the server timed out</translation>
    </message>
    <message>
        <source>选择保存路径: </source>
        <translation>Choose the save folder: </translation>
    </message>
    <message>
        <source>选择的录制通道没有信号!
是否自动转到通道%1?</source>
        <translation>The chosen recording channel has no signal!
Switch to channel %1?</translation>
    </message>
    <message>
        <source>选择的通道没有信号</source>
        <translation>The chosen channel has no signal</translation>
    </message>
    <message>
        <source>选择的通道没有信号或者被禁止</source>
        <translation>The chosen channel has no signal or is disabled</translation>
    </message>
    <message>
        <source>邮件设置不完整或太长</source>
        <translation>The mail settings are incomplete or too long</translation>
    </message>
    <message>
        <source>错误</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>默认密码位空, 请在系统设置窗口中设置新密码!</source>
        <translation>The default password is empty; please set a new one in the system settings!</translation>
    </message>
</context>
<context>
    <name>skin</name>
    <message>
        <source>抓拍</source>
        <translation>Snapshot</translation>
    </message>
    <message>
        <source>画面</source>
        <translation>Layout</translation>
    </message>
    <message>
        <source>设置</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>轮巡</source>
        <translation>Cycling</translation>
    </message>
    <message>
        <source>通道</source>
        <translation>Channels</translation>
    </message>
</context>
</TS>
