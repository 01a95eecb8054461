<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>ApiRequestBuilder</name>
    <message>
        <source>auth key for server [1]</source>
        <translation>服务器授权密钥 [1]</translation>
    </message>
    <message>
        <source>user&apos;s authorization [2]</source>
        <translation>用户授权 [2]</translation>
    </message>
    <message>
        <source>additional authorization support [3]</source>
        <translation>附加授权支持 [3]</translation>
    </message>
    <message>
        <source>user&apos;s subscriptions [4]</source>
        <translation>用户订阅 [4]</translation>
    </message>
    <message>
        <source>available VPN server list (premium/free sub) [5]</source>
        <translation>可用 VPN 服务器列表（高级/免费订阅）[5]</translation>
    </message>
    <message>
        <source>available VPN server list (double sub) [6]</source>
        <translation>可用 VPN 服务器列表（双重订阅）[6]</translation>
    </message>
    <message>
        <source> user&apos;s original IP [7]</source>
        <translation> 用户的原始 IP [7]</translation>
    </message>
    <message>
        <source>openvpn configuration for VPN connection [9]</source>
        <translation>用于 VPN 连接的 OpenVPN 配置 [9]</translation>
    </message>
    <message>
        <source>user&apos;s IP througth VPN connection [8]</source>
        <translation>通过 VPN 连接的用户 IP [8]</translation>
    </message>
    <message>
        <source> server&apos;s availability on default address [11]</source>
        <translation> 服务器默认地址的可用性 [11]</translation>
    </message>
    <message>
        <source> mirror tool config [10]</source>
        <translation> 镜像工具配置 [10]</translation>
    </message>
    <message>
        <source>[9]: VPN Server info: %0, %1 (IP: %2, Protocol: %3)</source>
        <translation>[9]: VPN 服务器信息：%0, %1（IP：%2，协议：%3）</translation>
    </message>
</context>
<context>
    <name>DiagnosisVerdict</name>
    <message>
        <source>No network: this computer has no route to the Internet, and nothing answers.</source>
        <translation>没有网络：这台计算机没有通往互联网的路由，也没有任何响应。</translation>
    </message>
    <message>
        <source>The service is blocked: its API cannot be reached on either address.</source>
        <translation>服务被封锁：两个地址都无法访问其 API。</translation>
    </message>
    <message>
        <source>The server does not answer: it may be down. Choose another server.</source>
        <translation>服务器无响应：它可能已停机。请选择其他服务器。</translation>
    </message>
    <message>
        <source>UDP is blocked, TCP works: this network lets the server through on TCP only.</source>
        <translation>UDP 被封锁，TCP 可用：此网络仅允许通过 TCP 连接服务器。</translation>
    </message>
    <message>
        <source>The network blocks VPN connections; the mirror route works.</source>
        <translation>此网络封锁 VPN 连接；经由镜像的路线可用。</translation>
    </message>
    <message>
        <source>The server answers but refuses the account or the keys.</source>
        <translation>服务器有响应，但拒绝了账户或密钥。</translation>
    </message>
    <message>
        <source>The connection did not come up, and the cause could not be found.</source>
        <translation>连接未能建立，且无法找到原因。</translation>
    </message>
    <message>
        <source>Choose another server</source>
        <translation>选择其他服务器</translation>
    </message>
    <message>
        <source>Use TCP</source>
        <translation>使用 TCP</translation>
    </message>
    <message>
        <source>Use the mirror route</source>
        <translation>使用经由镜像的路线</translation>
    </message>
</context>
<context>
    <name>DiagnosticsDialog</name>
    <message>
        <source>The archive would exceed %1 MB.</source>
        <translation>压缩包将超过 %1 MB。</translation>
    </message>
    <message>
        <source>Hide my addresses</source>
        <translation>隐藏我的地址</translation>
    </message>
    <message>
        <source>Collecting diagnostics…</source>
        <translation>正在收集诊断信息…</translation>
    </message>
    <message>
        <source>Save diagnostics</source>
        <translation>保存诊断信息</translation>
    </message>
    <message>
        <source>The archive holds the files below. Passwords, keys and your home folder are removed; nothing is sent anywhere.</source>
        <translation>压缩包包含以下文件。密码、密钥和您的主文件夹路径均已移除；不会向任何地方发送任何内容。</translation>
    </message>
    <message>
        <source>File</source>
        <translation>文件</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>大小</translation>
    </message>
    <message>
        <source>Files in the archive</source>
        <translation>压缩包中的文件</translation>
    </message>
    <message>
        <source>Public addresses other than the VPN servers&apos; are replaced in every file.</source>
        <translation>除 VPN 服务器的地址外，所有文件中的公网地址都会被替换。</translation>
    </message>
    <message numerus="yes">
        <source>%n file(s), %1 before compression; the archive holds at most %2.</source>
        <translation>
            <numerusform>%n 个文件，压缩前 %1；压缩包最多 %2。</numerusform>
        </translation>
    </message>
    <message>
        <source>The archive could not be saved: %1</source>
        <translation>无法保存压缩包：%1</translation>
    </message>
</context>
<context>
    <name>LockSelfTest</name>
    <message>
        <source>The lock&apos;s helper is not installed: %1</source>
        <translation>网络锁定的辅助程序未安装：%1</translation>
    </message>
    <message>
        <source>The lock&apos;s helper did not answer in time.</source>
        <translation>网络锁定的辅助程序未及时响应。</translation>
    </message>
    <message>
        <source>The lock&apos;s helper gave no result: %1</source>
        <translation>网络锁定的辅助程序未给出结果：%1</translation>
    </message>
    <message>
        <source>The lock&apos;s rules are loaded and unchanged</source>
        <translation>网络锁定的规则已加载且未被更改</translation>
    </message>
    <message>
        <source>Connections outside the VPN are refused</source>
        <translation>VPN 之外的连接被拒绝</translation>
    </message>
    <message>
        <source>Blocked packets</source>
        <translation>被阻止的数据包</translation>
    </message>
    <message>
        <source>Loopback and the VPN server are let through</source>
        <translation>本地回环和 VPN 服务器可以通过</translation>
    </message>
    <message>
        <source>passed</source>
        <translation>通过</translation>
    </message>
    <message>
        <source>FAILED</source>
        <translation>失败</translation>
    </message>
    <message>
        <source>no answer</source>
        <translation>无响应</translation>
    </message>
    <message>
        <source>Apply the lock again (switch it off and on in Settings), or use the emergency unblock.</source>
        <translation>请重新应用网络锁定（在设置中将其关闭后再开启），或使用紧急解除。</translation>
    </message>
</context>
<context>
    <name>LockSelfTestDialog</name>
    <message>
        <source>Testing the network lock…</source>
        <translation>正在测试网络锁定…</translation>
    </message>
    <message>
        <source>Test network lock</source>
        <translation>测试网络锁定</translation>
    </message>
    <message>
        <source>Results of the network lock test</source>
        <translation>网络锁定测试结果</translation>
    </message>
    <message>
        <source>The network lock works: every check passed.</source>
        <translation>网络锁定工作正常：所有检查均已通过。</translation>
    </message>
    <message>
        <source>The network lock does not work as it should.</source>
        <translation>网络锁定未按预期工作。</translation>
    </message>
</context>
<context>
    <name>Loger</name>
    <message>
        <source>Application started</source>
        <translation>应用程序已启动</translation>
    </message>
    <message>
        <source>Log file closed</source>
        <translation>日志文件已关闭</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Applying special option: </source>
        <translation>正在应用特殊选项: </translation>
    </message>
    <message>
        <source>lock network on VPN disconnect (on)...</source>
        <translation>VPN 断开时锁定网络（开启）...</translation>
    </message>
    <message>
        <source>lock network on VPN disconnect (off)...</source>
        <translation>VPN 断开时锁定网络（关闭）...</translation>
    </message>
    <message>
        <source>lock network on VPN disconnect (emergency unblock)...</source>
        <translation>VPN 断开时锁定网络（紧急解除）...</translation>
    </message>
    <message>
        <source>startup on system logon (on)...</source>
        <translation>登录系统时启动（开启）...</translation>
    </message>
    <message>
        <source>startup on system logon (off)...</source>
        <translation>登录系统时启动（关闭）...</translation>
    </message>
    <message>
        <source>success</source>
        <translation>成功</translation>
    </message>
    <message>
        <source>failed</source>
        <translation>失败</translation>
    </message>
    <message>
        <source> switching on.</source>
        <translation> 开启。</translation>
    </message>
    <message>
        <source> switching off.</source>
        <translation> 关闭。</translation>
    </message>
    <message>
        <source>Settings applying: &quot;Block network without VPN connection&quot; switched on: %0</source>
        <translation>应用设置：&quot;无 VPN 连接时阻止网络&quot; 已开启：%0</translation>
    </message>
    <message>
        <source>Settings applying: &quot;Block network without VPN connection&quot; switched off: %0</source>
        <translation>应用设置：&quot;无 VPN 连接时阻止网络&quot; 已关闭：%0</translation>
    </message>
    <message>
        <source>Settings applying: &quot;Block network without VPN connection&quot; emergency unblock: %0</source>
        <translation>应用设置：&quot;无 VPN 连接时阻止网络&quot; 紧急解除：%0</translation>
    </message>
    <message>
        <source>Settings applying: add program to system startup: %0</source>
        <translation>应用设置：将程序加入系统启动项：%0</translation>
    </message>
    <message>
        <source>Settings applying: remove program from system startup: %0</source>
        <translation>应用设置：从系统启动项中移除程序：%0</translation>
    </message>
    <message>
        <source>User logged out (account: %0)</source>
        <translation>用户已退出登录（账户：%0）</translation>
    </message>
    <message>
        <source>Log out</source>
        <translation>退出登录</translation>
    </message>
    <message>
        <source>Remember me</source>
        <translation>记住我</translation>
    </message>
    <message>
        <source>&lt;a href=&quot;%0/en/password-remind&quot;&gt;&lt;span style=&quot; color:#5f5f5f; font-size: 9px;&quot;&gt;Forgot password?&lt;/span&gt;&lt;/a&gt;</source>
        <translation>&lt;a href=&quot;%0/en/password-remind&quot;&gt;&lt;span style=&quot; color:#5f5f5f; font-size: 9px;&quot;&gt;忘记密码？&lt;/span&gt;&lt;/a&gt;</translation>
    </message>
    <message>
        <source>SIGN IN</source>
        <translation>登录</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p style=&quot; line-height: 17px; color:#5f5f5f; font-size: 9px;&quot;&gt;To sign in you need &lt;a href=&quot;%0/en/signup&quot;&gt;&lt;span style=&quot; text-decoration: underline; color:#5f5f5f;&quot;&gt;to register&lt;/span&gt;&lt;/a&gt; on site&lt;br&gt;and &lt;a href=&quot;%0/en/panel/package/buy&quot;&gt;&lt;span style=&quot; text-decoration: underline; color:#5f5f5f;&quot;&gt;buy subscription&lt;/span&gt;&lt;/a&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p style=&quot; line-height: 17px; color:#5f5f5f; font-size: 9px;&quot;&gt;登录前，您需要在网站上&lt;a href=&quot;%0/en/signup&quot;&gt;&lt;span style=&quot; text-decoration: underline; color:#5f5f5f;&quot;&gt;注册&lt;/span&gt;&lt;/a&gt;&lt;br&gt;并&lt;a href=&quot;%0/en/panel/package/buy&quot;&gt;&lt;span style=&quot; text-decoration: underline; color:#5f5f5f;&quot;&gt;购买订阅&lt;/span&gt;&lt;/a&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>Authorization</source>
        <translation>正在登录</translation>
    </message>
    <message>
        <source>&lt;p&gt;&lt;span style=&quot; font-size:13px;&quot;&gt;Loading packages&lt;/span&gt;&lt;span style=&quot; color:rgba(0,0,0,0);&quot;&gt;.&lt;/span&gt;&lt;span style=&quot; color:rgba(0,0,0,0);&quot;&gt;.&lt;/span&gt;&lt;span style=&quot; color:rgba(0,0,0,0);&quot;&gt;.&lt;/span&gt;&lt;/p&gt;</source>
        <translation>&lt;p&gt;&lt;span style=&quot; font-size:13px;&quot;&gt;正在加载套餐&lt;/span&gt;&lt;span style=&quot; color:rgba(0,0,0,0);&quot;&gt;.&lt;/span&gt;&lt;span style=&quot; color:rgba(0,0,0,0);&quot;&gt;.&lt;/span&gt;&lt;span style=&quot; color:rgba(0,0,0,0);&quot;&gt;.&lt;/span&gt;&lt;/p&gt;</translation>
    </message>
    <message>
        <source>Select subscription:</source>
        <translation>选择订阅：</translation>
    </message>
    <message>
        <source>NEXT</source>
        <translation>下一步</translation>
    </message>
    <message>
        <source>Back</source>
        <translation>返回</translation>
    </message>
    <message>
        <source>change</source>
        <translation>更改</translation>
    </message>
    <message>
        <source>VPN disabled</source>
        <translation>VPN 未开启</translation>
    </message>
    <message>
        <source>Active:</source>
        <translation>已连接：</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;span style=&quot; font-size:13px;&quot;&gt;Connecting...&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;span style=&quot; font-size:13px;&quot;&gt;正在连接...&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>&lt;p&gt;&lt;span style=&quot; font-size:13px;&quot;&gt;Checking servers&lt;/span&gt;&lt;/p&gt;</source>
        <translation>&lt;p&gt;&lt;span style=&quot; font-size:13px;&quot;&gt;正在检查服务器&lt;/span&gt;&lt;/p&gt;</translation>
    </message>
    <message>
        <source>SWITCH OFF VPN</source>
        <translation>断开 VPN</translation>
    </message>
    <message>
        <source>AUTO SELECT</source>
        <translation>自动选择</translation>
    </message>
    <message>
        <source>CHOOSE SERVER</source>
        <translation>选择服务器</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p style=&quot; line-height: 17px; color:#5f5f5f; font-size: 9px;&quot;&gt;&lt;span&gt;&amp;quot;Auto select&amp;quot; mode connects you to the &lt;br&gt;fastest VPN location at the moment&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p style=&quot; line-height: 17px; color:#5f5f5f; font-size: 9px;&quot;&gt;&lt;span&gt;&amp;quot;自动选择&amp;quot;模式会为您连接到&lt;br&gt;当前速度最快的 VPN 位置&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>CONNECT</source>
        <translation>连接</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;span style=&quot; font-size:24px;&quot;&gt;Information&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;span style=&quot; font-size:24px;&quot;&gt;信息&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>Protocol:</source>
        <translation>协议：</translation>
    </message>
    <message>
        <source>Location:</source>
        <translation>位置：</translation>
    </message>
    <message>
        <source>New IP:</source>
        <translation>新 IP：</translation>
    </message>
    <message>
        <source>Original IP:</source>
        <translation>原始 IP：</translation>
    </message>
    <message>
        <source>Time:</source>
        <translation>时间：</translation>
    </message>
    <message>
        <source>Speed</source>
        <translation>速度</translation>
    </message>
    <message>
        <source>Download:</source>
        <translation>下载：</translation>
    </message>
    <message>
        <source>0 b/s</source>
        <translation>0 b/s</translation>
    </message>
    <message>
        <source>Upload:</source>
        <translation>上传：</translation>
    </message>
    <message>
        <source>Traffic</source>
        <translation>流量</translation>
    </message>
    <message>
        <source>In:</source>
        <translation>接收：</translation>
    </message>
    <message>
        <source>0 B</source>
        <translation>0 B</translation>
    </message>
    <message>
        <source>Out:</source>
        <translation>发送：</translation>
    </message>
    <message>
        <source>Change IP:</source>
        <translation>更换 IP：</translation>
    </message>
    <message>
        <source>RECONNECT</source>
        <translation>重新连接</translation>
    </message>
    <message>
        <source>Select first server:</source>
        <translation>选择第一个服务器：</translation>
    </message>
    <message>
        <source>Select second server:</source>
        <translation>选择第二个服务器：</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p align=&quot;center&quot; style=&quot; line-height: 20px;&quot;&gt;&lt;span style=&quot; font-size:13px; color:#5f5f5f;&quot;&gt;Version %0&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p align=&quot;center&quot; style=&quot; line-height: 20px;&quot;&gt;&lt;span style=&quot; font-size:13px; color:#5f5f5f;&quot;&gt;版本 %0&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>&lt;Not connected&gt;</source>
        <translation>&lt;未连接&gt;</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;span style=&quot; font-size: 24px;&quot;&gt;Settings&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;span style=&quot; font-size: 24px;&quot;&gt;设置&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>Lock network if VPN disconnected:</source>
        <translation>VPN 断开时锁定网络：</translation>
    </message>
    <message>
        <source>Autoconnect to VPN with startup:</source>
        <translation>启动时自动连接 VPN：</translation>
    </message>
    <message>
        <source>Start minimized:</source>
        <translation>启动时最小化：</translation>
    </message>
    <message>
        <source>Language:</source>
        <translation>语言：</translation>
    </message>
    <message>
        <source>Show stats window on VPN connect:</source>
        <translation>连接时显示统计窗口：</translation>
    </message>
    <message>
        <source>Autostart on system logon:</source>
        <translation>登录系统时自动启动：</translation>
    </message>
    <message>
        <source>Check servers for availability:</source>
        <translation>检查服务器可用性：</translation>
    </message>
    <message>
        <source>Enable DNS leak protection:</source>
        <translation>启用 DNS 泄漏保护：</translation>
    </message>
    <message>
        <source>VPN log</source>
        <translation>VPN 日志</translation>
    </message>
    <message>
        <source>Program log</source>
        <translation>程序日志</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p style=&quot; line-height: 17px; color:#5f5f5f; font-size: 9px;&quot;&gt;&lt;span &gt;Settings will be applied on&lt;/span&gt;&lt;br&gt;&lt;span&gt;&quot;BACK&quot; clicked&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p style=&quot; line-height: 17px; color:#5f5f5f; font-size: 9px;&quot;&gt;&lt;span &gt;设置将在点击&lt;/span&gt;&lt;br&gt;&lt;span&gt;“返回”后生效&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>&lt;p style=&quot;font-size: 11px;&quot;&gt;Applying settings&lt;span style=&quot; color:rgba(0,0,0,0);&quot;&gt;.&lt;/span&gt;&lt;span style=&quot; color:rgba(0,0,0,0);&quot;&gt;.&lt;/span&gt;&lt;span style=&quot; color:rgba(0,0,0,0);&quot;&gt;.&lt;/span&gt;&lt;/p&gt;</source>
        <translation>&lt;p style=&quot;font-size: 11px;&quot;&gt;正在应用设置&lt;span style=&quot; color:rgba(0,0,0,0);&quot;&gt;.&lt;/span&gt;&lt;span style=&quot; color:rgba(0,0,0,0);&quot;&gt;.&lt;/span&gt;&lt;span style=&quot; color:rgba(0,0,0,0);&quot;&gt;.&lt;/span&gt;&lt;/p&gt;</translation>
    </message>
    <message>
        <source>This package has been paused</source>
        <translation>此套餐已暂停</translation>
    </message>
    <message>
        <source>This package has been expired</source>
        <translation>此套餐已过期</translation>
    </message>
    <message>
        <source>Servers</source>
        <translation>服务器</translation>
    </message>
    <message>
        <source>Favorites</source>
        <translation>收藏</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>复制</translation>
    </message>
    <message>
        <source>Main window is visible</source>
        <translation>主窗口已显示</translation>
    </message>
    <message>
        <source>Main window is now hidden</source>
        <translation>主窗口已隐藏</translation>
    </message>
    <message>
        <source>Unable to get list of subscriptions.</source>
        <translation>无法获取订阅列表。</translation>
    </message>
    <message>
        <source>Unable to get list of servers.</source>
        <translation>无法获取服务器列表。</translation>
    </message>
    <message>
        <source>Unable to get list of servers for double subscription.</source>
        <translation>无法获取双重订阅的服务器列表。</translation>
    </message>
    <message>
        <source>Unable to get Shadowsocks config file.</source>
        <translation>无法获取 Shadowsocks 配置文件。</translation>
    </message>
    <message>
        <source>Unable to get OpenVPN config file.</source>
        <translation>无法获取 OpenVPN 配置文件。</translation>
    </message>
    <message>
        <source>Unable to get your IP before VPN connection.</source>
        <translation>无法获取连接 VPN 之前的 IP 地址。</translation>
    </message>
    <message>
        <source>Unable to get your new IP througth VPN connection.</source>
        <translation>无法通过 VPN 连接获取您的新 IP 地址。</translation>
    </message>
    <message>
        <source>Log is switched off or file does not exists.</source>
        <translation>日志已关闭或文件不存在。</translation>
    </message>
    <message>
        <source>Unsupported subscription type.</source>
        <translation>不支持的订阅类型。</translation>
    </message>
    <message>
        <source>IP before and after VPN connection establishment are equal.</source>
        <translation>建立 VPN 连接前后的 IP 地址相同。</translation>
    </message>
    <message>
        <source>Unable to apply following setting:&lt;br&gt;%0</source>
        <translation>无法应用以下设置：&lt;br&gt;%0</translation>
    </message>
    <message>
        <source>Application is running already.</source>
        <translation>应用程序已在运行。</translation>
    </message>
    <message>
        <source>Additional tool install/check error. Unable to proceed.</source>
        <translation>附加工具安装或检查出错，无法继续。</translation>
    </message>
    <message>
        <source>Active VPN connection will be disconnected.&lt;br&gt;Proceed?</source>
        <translation>当前 VPN 连接将被断开。&lt;br&gt;是否继续？</translation>
    </message>
    <message>
        <source>Program will log out from account.&lt;br&gt;Proceed?</source>
        <translation>程序将退出当前账户。&lt;br&gt;是否继续？</translation>
    </message>
    <message>
        <source>Block setting configures system components by special way.&lt;br&gt;&lt;br&gt;Please do not change or remove additional rules and/or options created by program in system components.&lt;br&gt;&lt;br&gt;Configuration interruption may lead to unblocking failure.&lt;br&gt;&lt;br&gt;Proceed?</source>
        <translation>阻止设置会以特殊方式配置系统组件。&lt;br&gt;&lt;br&gt;请勿更改或删除程序在系统组件中创建的附加规则和/或选项。&lt;br&gt;&lt;br&gt;配置过程被中断可能导致无法解除阻止。&lt;br&gt;&lt;br&gt;是否继续？</translation>
    </message>
    <message>
        <source>Error: authorization failed</source>
        <translation>错误：授权失败</translation>
    </message>
    <message>
        <source>Error: unable to get subscriptions</source>
        <translation>错误：无法获取订阅</translation>
    </message>
    <message>
        <source>Error: there are no active subscribtions</source>
        <translation>错误：没有有效的订阅</translation>
    </message>
    <message>
        <source>Error: unable to get list of available servers</source>
        <translation>错误：无法获取可用服务器列表</translation>
    </message>
    <message>
        <source>Error: unable to establish VPN connection</source>
        <translation>错误：无法建立 VPN 连接</translation>
    </message>
    <message>
        <source>VPN connection established
Original IP: %0
New IP: %1</source>
        <translation>VPN 连接已建立
原始 IP：%0
新 IP：%1</translation>
    </message>
    <message>
        <source>VPN disconnected</source>
        <translation>VPN 已断开</translation>
    </message>
    <message>
        <source>VPN not connected</source>
        <translation>VPN 未连接</translation>
    </message>
    <message>
        <source>VPN is connecting...</source>
        <translation>VPN 正在连接...</translation>
    </message>
    <message>
        <source>VPN connected</source>
        <translation>VPN 已连接</translation>
    </message>
    <message>
        <source>VPN is disconnecting...</source>
        <translation>VPN 正在断开...</translation>
    </message>
    <message>
        <source>Error code: %0&lt;br&gt;</source>
        <translation>错误代码：%0&lt;br&gt;</translation>
    </message>
    <message>
        <source>New language will be applied after restart.</source>
        <translation>新语言将在重启程序后生效。</translation>
    </message>
    <message>
        <source>Subscription &quot;%0&quot; will end %1.</source>
        <translation>订阅 &quot;%0&quot; 将于 %1 到期。</translation>
    </message>
    <message>
        <source>Update subscription</source>
        <translation>续订</translation>
    </message>
    <message>
        <source>Following setting applied:&lt;br&gt;Lock network without VPN: unblocking&lt;br&gt;&lt;br&gt;Check your network connection. If you experiencing issues, use &lt;b&gt;Emergency unblock&lt;/b&gt;.</source>
        <translation>已应用以下设置：&lt;br&gt;无 VPN 时锁定网络：解除阻止&lt;br&gt;&lt;br&gt;请检查您的网络连接。如遇问题，请使用&lt;b&gt;紧急解除阻止&lt;/b&gt;。</translation>
    </message>
    <message>
        <source>Emergency unblock</source>
        <translation>紧急解除阻止</translation>
    </message>
    <message>
        <source>Uses Windows Firewall.

Blocking takes immediately effect on current and new network connections. Blocking continues after PC restart (normal/sudden). Blocking not depends on program state (running/closed).</source>
        <translation>使用 Windows 防火墙。

阻止会立即对当前和新建的网络连接生效。电脑重启（正常或意外）后阻止仍然有效。阻止不受程序状态（运行或关闭）影响。</translation>
    </message>
    <message>
        <source>Don&apos;t show this message again</source>
        <translation>不再显示此消息</translation>
    </message>
    <message>
        <source>Unable to get authorization key</source>
        <translation>无法获取授权密钥</translation>
    </message>
    <message>
        <source>Authorization failed</source>
        <translation>授权失败</translation>
    </message>
    <message>
        <source>Unable to get authorization support reply</source>
        <translation>无法获取附加授权的回复</translation>
    </message>
    <message>
        <source>Unable to get subscription list</source>
        <translation>无法获取订阅列表</translation>
    </message>
    <message>
        <source>Unable to get available VPN server list</source>
        <translation>无法获取可用 VPN 服务器列表</translation>
    </message>
    <message>
        <source>Unable to get VPN server list (double sub)</source>
        <translation>无法获取 VPN 服务器列表（双重订阅）</translation>
    </message>
    <message>
        <source>Unable to get user&apos;s original IP</source>
        <translation>无法获取用户的原始 IP</translation>
    </message>
    <message>
        <source>Unable to get openvpn configuration</source>
        <translation>无法获取 OpenVPN 配置</translation>
    </message>
    <message>
        <source>Unable to get user&apos;s IP througth VPN connection</source>
        <translation>无法通过 VPN 连接获取用户的 IP</translation>
    </message>
    <message>
        <source>Unable to get mirror tool configuration</source>
        <translation>无法获取镜像工具配置</translation>
    </message>
    <message>
        <source>Request to Kestrune server was sent: </source>
        <translation>已向 Kestrune 服务器发送请求：</translation>
    </message>
    <message>
        <source>Server reply on %0</source>
        <translation>服务器对 %0 的回复</translation>
    </message>
    <message>
        <source>&quot;declined&quot; server reply</source>
        <translation>服务器回复 &quot;declined&quot;</translation>
    </message>
    <message>
        <source>Unable to decode server reply</source>
        <translation>无法解析服务器回复</translation>
    </message>
    <message>
        <source>. Details:</source>
        <translation>。详细信息：</translation>
    </message>
    <message>
        <source>Invalid subscription type</source>
        <translation>无效的订阅类型</translation>
    </message>
    <message>
        <source>Wrong server data</source>
        <translation>服务器数据有误</translation>
    </message>
    <message>
        <source>There are SSL errors occurred during request to server. Details:</source>
        <translation>请求服务器时发生 SSL 错误。详细信息：</translation>
    </message>
    <message>
        <source>auth key for server [1]</source>
        <translation>服务器授权密钥 [1]</translation>
    </message>
    <message>
        <source>user&apos;s authorization [2]</source>
        <translation>用户授权 [2]</translation>
    </message>
    <message>
        <source>additional authorization support [3]</source>
        <translation>附加授权支持 [3]</translation>
    </message>
    <message>
        <source>user&apos;s subscriptions [4]</source>
        <translation>用户订阅 [4]</translation>
    </message>
    <message>
        <source>available VPN server list (premium/free sub) [5]</source>
        <translation>可用 VPN 服务器列表（高级/免费订阅）[5]</translation>
    </message>
    <message>
        <source>available VPN server list (double sub) [6]</source>
        <translation>可用 VPN 服务器列表（双重订阅）[6]</translation>
    </message>
    <message>
        <source> user&apos;s original IP [7]</source>
        <translation> 用户的原始 IP [7]</translation>
    </message>
    <message>
        <source>openvpn configuration for VPN connection [9]</source>
        <translation>用于 VPN 连接的 OpenVPN 配置 [9]</translation>
    </message>
    <message>
        <source>user&apos;s IP througth VPN connection [8]</source>
        <translation>通过 VPN 连接的用户 IP [8]</translation>
    </message>
    <message>
        <source> server&apos;s availability on default address [11]</source>
        <translation> 服务器默认地址的可用性 [11]</translation>
    </message>
    <message>
        <source> mirror tool config [10]</source>
        <translation> 镜像工具配置 [10]</translation>
    </message>
    <message>
        <source>[9]: VPN Server info: %0, %1 (IP: %2, Protocol: %3)</source>
        <translation>[9]: VPN 服务器信息：%0, %1（IP：%2，协议：%3）</translation>
    </message>
    <message>
        <source>&lt;not selected&gt;</source>
        <translation>&lt;未选择&gt;</translation>
    </message>
    <message>
        <source>&lt;p&gt;&lt;span style=&quot;font-size:13px;&quot;&gt;Checking servers (%0/%1)&lt;/span&gt;&lt;/p&gt;</source>
        <translation>&lt;p&gt;&lt;span style=&quot;font-size:13px;&quot;&gt;正在检查服务器 (%0/%1)&lt;/span&gt;&lt;/p&gt;</translation>
    </message>
    <message>
        <source>Availability check finished, %0 of %1 servers are reachable</source>
        <translation>可用性检查完成，%1 台服务器中有 %0 台可以连接</translation>
    </message>
    <message>
        <source>Servers or favorites</source>
        <translation>服务器或收藏</translation>
    </message>
    <message>
        <source>Favorite pair</source>
        <translation>收藏的服务器对</translation>
    </message>
    <message>
        <source>All locations</source>
        <translation>所有位置</translation>
    </message>
    <message>
        <source>Favorite locations</source>
        <translation>收藏的位置</translation>
    </message>
    <message>
        <source>Favorite pairs</source>
        <translation>收藏的服务器对列表</translation>
    </message>
    <message>
        <source>[10]: dropped %1 more members of the mirror tool configuration</source>
        <translation>[10]: 已从镜像工具配置中再删除 %1 个成员</translation>
    </message>
    <message>
        <source>[10]: missing or unusable member &quot;%1&quot; in the mirror tool configuration</source>
        <translation>[10]: 镜像工具配置中缺少成员 &quot;%1&quot; 或其不可用</translation>
    </message>
    <message>
        <source>Stopping VPN connection</source>
        <translation>正在停止 VPN 连接</translation>
    </message>
    <message>
        <source>Interrupt connection status detected. Cancelation reply processing</source>
        <translation>检测到连接中断状态。已取消应答处理</translation>
    </message>
    <message>
        <source>Real IP received</source>
        <translation>已获取真实 IP</translation>
    </message>
    <message>
        <source>Unable to save openvpn configuration in file</source>
        <translation>无法将 openvpn 配置保存到文件</translation>
    </message>
    <message>
        <source>openvpn configuration has been successfully saved in file</source>
        <translation>openvpn 配置已成功保存到文件</translation>
    </message>
    <message>
        <source>Initializing VPN connection</source>
        <translation>正在初始化 VPN 连接</translation>
    </message>
    <message>
        <source>retrying network request (retry: %0)</source>
        <translation>正在重试网络请求（重试次数：%0）</translation>
    </message>
    <message>
        <source>User&apos;s IP through VPN connection received</source>
        <translation>已获取通过 VPN 连接的用户 IP</translation>
    </message>
    <message>
        <source>User&apos;s IP before and after VPN connection establishment are equal</source>
        <translation>建立 VPN 连接前后的用户 IP 相同</translation>
    </message>
    <message>
        <source>expired</source>
        <translation>已过期</translation>
    </message>
    <message>
        <source>openvpn process closed</source>
        <translation>openvpn 进程已关闭</translation>
    </message>
    <message>
        <source>auto select</source>
        <translation>自动选择</translation>
    </message>
    <message>
        <source>unknown</source>
        <translation>未知</translation>
    </message>
    <message>
        <source>&lt;p style=&quot; color:#ff0000; font-size: 13px;&quot;&gt;&lt;span&gt;Unable to connect.&lt;/span&gt;&lt;a href=&quot;file:///</source>
        <translation>&lt;p style=&quot; color:#ff0000; font-size: 13px;&quot;&gt;&lt;span&gt;无法连接。&lt;/span&gt;&lt;a href=&quot;file:///</translation>
    </message>
    <message>
        <source>&quot;&gt;&lt;br&gt;&lt;span style=&quot; font-size: 13px; text-decoration: underline; color:#ff0000;&quot;&gt;View log&lt;/span&gt;&lt;/a&gt;&lt;/p&gt;</source>
        <translation>&quot;&gt;&lt;br&gt;&lt;span style=&quot; font-size: 13px; text-decoration: underline; color:#ff0000;&quot;&gt;查看日志&lt;/span&gt;&lt;/a&gt;&lt;/p&gt;</translation>
    </message>
    <message>
        <source>Connecting</source>
        <translation>正在连接</translation>
    </message>
    <message>
        <source>Disconnecting</source>
        <translation>正在断开连接</translation>
    </message>
    <message>
        <source>ABORT</source>
        <translation>中止</translation>
    </message>
    <message>
        <source>Disconnect VPN</source>
        <translation>断开 VPN</translation>
    </message>
    <message>
        <source>Connect VPN (%0)</source>
        <translation>连接 VPN（%0）</translation>
    </message>
    <message>
        <source>App version: KS %0, OS: %2 %3 (version %4),</source>
        <translation>应用版本：KS %0，操作系统：%2 %3（版本 %4），</translation>
    </message>
    <message>
        <source>OpenVPN version: %0, screen resolution: %1 on %2 pixels</source>
        <translation>OpenVPN 版本：%0，屏幕分辨率：%1 × %2 像素</translation>
    </message>
    <message>
        <source>Installed OpenVPN version (%0) incompatible with app.&lt;br&gt;Please install OpenVPN 2.3.x or 2.4.x.</source>
        <translation>已安装的 OpenVPN 版本（%0）与本应用不兼容。&lt;br&gt;请安装 OpenVPN 2.3.x 或 2.4.x。</translation>
    </message>
    <message>
        <source>Main window created</source>
        <translation>主窗口已创建</translation>
    </message>
    <message>
        <source>[11]: Trying reconnect to emergency address</source>
        <translation>[11]: 正在尝试重新连接到应急地址</translation>
    </message>
    <message>
        <source>Server Mirror Configuration needed: %0</source>
        <translation>需要服务器镜像配置：%0</translation>
    </message>
    <message>
        <source>yes</source>
        <translation>是</translation>
    </message>
    <message>
        <source>no</source>
        <translation>否</translation>
    </message>
    <message>
        <source>Server Mirror Configuration disabled: Shadowsocks component not found.</source>
        <translation>服务器镜像配置已禁用：未找到 Shadowsocks 组件。</translation>
    </message>
    <message>
        <source>Shadowsocks component not found.&lt;br&gt;Server mirror configurations are disabled.</source>
        <translation>未找到 Shadowsocks 组件。&lt;br&gt;服务器镜像配置已禁用。</translation>
    </message>
    <message>
        <source>[WARNING]: server mirror configuration required TCP protocol only</source>
        <translation>[WARNING]: 服务器镜像配置仅支持 TCP 协议</translation>
    </message>
    <message>
        <source>[10]: dropped member &quot;%1&quot; of the mirror tool configuration</source>
        <translation>[10]: 已从镜像工具配置中删除成员 &quot;%1&quot;</translation>
    </message>
    <message>
        <source>Unable to save mirror tool configuration in file</source>
        <translation>无法将镜像工具配置保存到文件</translation>
    </message>
    <message>
        <source>mirror tool configuration has been saved in file</source>
        <translation>镜像工具配置已保存到文件</translation>
    </message>
    <message>
        <source>Application is shutting down</source>
        <translation>应用程序正在关闭</translation>
    </message>
    <message>
        <source>[5]: VPN server list received. Server count: %0</source>
        <translation>[5]: 已获取 VPN 服务器列表。服务器数量：%0</translation>
    </message>
    <message>
        <source>App&apos;s settings saving error: no server selected (%0)</source>
        <translation>保存应用设置出错：未选择服务器（%0）</translation>
    </message>
    <message>
        <source>Sign-in not started: no service address</source>
        <translation>未开始登录：没有服务地址</translation>
    </message>
    <message>
        <source>Server not reachable.</source>
        <translation>无法访问服务器。</translation>
    </message>
    <message>
        <source>Incorrect server reply.</source>
        <translation>服务器应答不正确。</translation>
    </message>
    <message>
        <source>Server declined authorization request</source>
        <translation>服务器拒绝了授权请求</translation>
    </message>
    <message>
        <source>[1]: Authorization key received</source>
        <translation>[1]: 已获取授权密钥</translation>
    </message>
    <message>
        <source>Server declined authorization request.</source>
        <translation>服务器拒绝了授权请求。</translation>
    </message>
    <message>
        <source>[2]: Authorization completed (account: %0)</source>
        <translation>[2]: 授权完成（账户：%0）</translation>
    </message>
    <message>
        <source>[4]: Subscription list received. Subscription count: %0</source>
        <translation>[4]: 已获取订阅列表。订阅数量：%0</translation>
    </message>
    <message>
        <source>[4]: Authorization completed</source>
        <translation>[4]: 授权完成</translation>
    </message>
    <message>
        <source>Subscription selected: no active subscription (purchase webpage opened)</source>
        <translation>已选择订阅：没有有效订阅（已打开购买网页）</translation>
    </message>
    <message>
        <source>Subscription selected: %0</source>
        <translation>已选择订阅：%0</translation>
    </message>
    <message>
        <source>BUY SUBSCRIBTION</source>
        <translation>购买订阅</translation>
    </message>
    <message>
        <source>Connect VPN</source>
        <translation>连接 VPN</translation>
    </message>
    <message>
        <source>Show stats</source>
        <translation>显示统计</translation>
    </message>
    <message>
        <source>Show window</source>
        <translation>显示窗口</translation>
    </message>
    <message>
        <source>About</source>
        <translation>关于</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>退出</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>设置</translation>
    </message>
    <message>
        <source>Login</source>
        <translation>登录名</translation>
    </message>
    <message>
        <source>Password</source>
        <translation>密码</translation>
    </message>
    <message>
        <source>Connection information</source>
        <translation>连接信息</translation>
    </message>
    <message>
        <source>Copy address</source>
        <translation>复制地址</translation>
    </message>
    <message>
        <source>[OpenVPN]: state changed to stopped</source>
        <translation>[OpenVPN]: 状态变为已停止</translation>
    </message>
    <message>
        <source>Installed OpenVPN version (%0) incompatible with app.&lt;br&gt;Please install OpenVPN of one of these series: %1.</source>
        <translation>已安装的 OpenVPN 版本（%0）与本应用不兼容。&lt;br&gt;请安装以下系列之一的 OpenVPN：%1。</translation>
    </message>
    <message>
        <source>Connected: %0</source>
        <translation>已连接：%0</translation>
    </message>
    <message>
        <source>Availability check still running at the end: left to end by itself</source>
        <translation>退出时可用性检查仍在运行：留待其自行结束</translation>
    </message>
    <message>
        <source>Why the connection did not come up</source>
        <translation>连接未能建立的原因</translation>
    </message>
    <message>
        <source>Switch automatically when the network blocks VPN:</source>
        <translation>网络封锁 VPN 时自动切换：</translation>
    </message>
    <message>
        <source>Switch automatically when the network blocks VPN</source>
        <translation>网络封锁 VPN 时自动切换</translation>
    </message>
    <message>
        <source>Finding out why the connection did not come up...</source>
        <translation>正在查找连接未能建立的原因...</translation>
    </message>
    <message>
        <source>The client switched to TCP by itself.</source>
        <translation>客户端已自动切换到 TCP。</translation>
    </message>
    <message>
        <source>The client switched to the mirror route by itself.</source>
        <translation>客户端已自动切换到经由镜像的路线。</translation>
    </message>
    <message>
        <source>Save diagnostics…</source>
        <translation>保存诊断信息…</translation>
    </message>
    <message>
        <source>Save diagnostics</source>
        <translation>保存诊断信息</translation>
    </message>
    <message>
        <source>ZIP archives (*.zip)</source>
        <translation>ZIP 压缩包 (*.zip)</translation>
    </message>
    <message>
        <source>Diagnostics saved to %0</source>
        <translation>诊断信息已保存到 %0</translation>
    </message>
    <message>
        <source>Test network lock</source>
        <translation>测试网络锁定</translation>
    </message>
    <message>
        <source>Network lock self-test passed</source>
        <translation>网络锁定自检通过</translation>
    </message>
    <message>
        <source>Network lock self-test failed</source>
        <translation>网络锁定自检失败</translation>
    </message>
    <message>
        <source>A worker thread still running at the end: left to end by itself</source>
        <translation>退出时仍有工作线程在运行：留待其自行结束</translation>
    </message>
    <message>
        <source>Main window brought to the front for another start</source>
        <translation>因再次启动，主窗口已置于最前</translation>
    </message>
    <message>
        <source>Main window minimized to the taskbar: no system tray</source>
        <translation>主窗口已最小化到任务栏：没有系统托盘</translation>
    </message>
    <message>
        <source>Waiting for the network</source>
        <translation>正在等待网络</translation>
    </message>
    <message>
        <source>Reconnecting</source>
        <translation>正在重新连接</translation>
    </message>
    <message>
        <source>Network: the route to the VPN server is gone, waiting</source>
        <translation>Network: 到 VPN 服务器的路由已消失，等待中</translation>
    </message>
    <message>
        <source>Network: the route to the VPN server is back, reconnecting</source>
        <translation>Network: 到 VPN 服务器的路由已恢复，正在重新连接</translation>
    </message>
    <message>
        <source>Network: the route to the VPN server changed, reconnecting</source>
        <translation>Network: 到 VPN 服务器的路由已改变，正在重新连接</translation>
    </message>
    <message>
        <source>Network: the computer woke up, reconnecting</source>
        <translation>Network: 计算机已唤醒，正在重新连接</translation>
    </message>
    <message>
        <source>Network: OpenVPN is reconnecting by itself</source>
        <translation>Network: OpenVPN 正在自行重新连接</translation>
    </message>
    <message>
        <source>Network: reconnected in %1 s</source>
        <translation>Network: 已在 %1 秒内重新连接</translation>
    </message>
    <message>
        <source>Network: the route to the VPN server is not watched (%1)</source>
        <translation>Network: 未监视到 VPN 服务器的路由 (%1)</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>Unknown error.</source>
        <translation>未知错误。</translation>
    </message>
    <message>
        <source>Can&apos;t connect to server within given time interval.</source>
        <translation>无法在规定时间内连接到服务器。</translation>
    </message>
    <message>
        <source>Can&apos;t connect to server.</source>
        <translation>无法连接到服务器。</translation>
    </message>
    <message>
        <source>Requested data not found on server.</source>
        <translation>服务器上未找到请求的数据。</translation>
    </message>
    <message>
        <source>Proxy connection error. Turn off system proxy.</source>
        <translation>代理连接错误。请关闭系统代理。</translation>
    </message>
    <message>
        <source>[9]: removed a line containing a zero byte from the downloaded configuration</source>
        <translation>[9]: 已从下载的配置中删除一行含有零字节的内容</translation>
    </message>
    <message>
        <source>[9]: removed directive &quot;%1&quot; from the downloaded configuration</source>
        <translation>[9]: 已从下载的配置中删除指令 &quot;%1&quot;</translation>
    </message>
    <message>
        <source>[9]: the downloaded configuration could not be made safe and was discarded</source>
        <translation>[9]: 无法使下载的配置变得安全，已将其丢弃</translation>
    </message>
    <message>
        <source>d </source>
        <translation>天 </translation>
    </message>
    <message>
        <source> h </source>
        <translation> 小时 </translation>
    </message>
    <message>
        <source> m </source>
        <translation> 分 </translation>
    </message>
    <message>
        <source> s</source>
        <translation> 秒</translation>
    </message>
    <message>
        <source>%0 MB</source>
        <translation>%0 MB</translation>
    </message>
    <message>
        <source>%0 KB</source>
        <translation>%0 KB</translation>
    </message>
    <message>
        <source>%0 B</source>
        <translation>%0 B</translation>
    </message>
    <message>
        <source>%0 Mb/s</source>
        <translation>%0 Mb/s</translation>
    </message>
    <message>
        <source>%0 Kb/s</source>
        <translation>%0 Kb/s</translation>
    </message>
    <message>
        <source>%0 b/s</source>
        <translation>%0 b/s</translation>
    </message>
    <message>
        <source>%0 day</source>
        <comment>singular ending</comment>
        <translation>%0 天</translation>
    </message>
    <message>
        <source>%0 days</source>
        <comment>special ending</comment>
        <translation>%0 天</translation>
    </message>
    <message>
        <source>%0 days</source>
        <comment>plural ending</comment>
        <translation>%0 天</translation>
    </message>
    <message>
        <source>%0 hour</source>
        <comment>singular ending</comment>
        <translation>%0 小时</translation>
    </message>
    <message>
        <source>%0 hours</source>
        <comment>special ending</comment>
        <translation>%0 小时</translation>
    </message>
    <message>
        <source>%0 hours</source>
        <comment>plural ending</comment>
        <translation>%0 小时</translation>
    </message>
    <message>
        <source>%0 m</source>
        <translation>%0 分钟</translation>
    </message>
    <message>
        <source>%0 s</source>
        <translation>%0 秒</translation>
    </message>
    <message>
        <source>left</source>
        <comment>days, singular ending</comment>
        <translation>剩余</translation>
    </message>
    <message>
        <source>left</source>
        <comment>days, special ending</comment>
        <translation>剩余</translation>
    </message>
    <message>
        <source>left</source>
        <comment>days, plural ending</comment>
        <translation>剩余</translation>
    </message>
    <message>
        <source>left</source>
        <comment>hours, singular ending</comment>
        <translation>剩余</translation>
    </message>
    <message>
        <source>left</source>
        <comment>hours, special ending</comment>
        <translation>剩余</translation>
    </message>
    <message>
        <source>left</source>
        <comment>hours, plural ending</comment>
        <translation>剩余</translation>
    </message>
    <message>
        <source>left</source>
        <comment>minutes, singular ending</comment>
        <translation>剩余</translation>
    </message>
    <message>
        <source>left</source>
        <comment>minutes, special ending</comment>
        <translation>剩余</translation>
    </message>
    <message>
        <source>left</source>
        <comment>minutes, plural ending</comment>
        <translation>剩余</translation>
    </message>
    <message>
        <source>[9]: the configuration was refused: %1</source>
        <translation>[9]: 配置被拒绝：%1</translation>
    </message>
</context>
<context>
    <name>RequestLog</name>
    <message>
        <source>Request to Kestrune server was sent: </source>
        <translation>已向 Kestrune 服务器发送请求：</translation>
    </message>
    <message>
        <source>Server reply on %0</source>
        <translation>服务器对 %0 的回复</translation>
    </message>
    <message>
        <source>&quot;declined&quot; server reply</source>
        <translation>服务器回复 &quot;declined&quot;</translation>
    </message>
    <message>
        <source>Unable to decode server reply</source>
        <translation>无法解析服务器回复</translation>
    </message>
    <message>
        <source>. Details:</source>
        <translation>。详细信息：</translation>
    </message>
    <message>
        <source>Invalid subscription type</source>
        <translation>无效的订阅类型</translation>
    </message>
    <message>
        <source>Wrong server data</source>
        <translation>服务器数据有误</translation>
    </message>
    <message>
        <source>There are SSL errors occurred during request to server. Details:</source>
        <translation>请求服务器时发生 SSL 错误。详细信息：</translation>
    </message>
</context>
<context>
    <name>SettingsStore</name>
    <message>
        <source>App&apos;s settings saved in file: %0</source>
        <translation>应用程序设置已保存到文件：%0</translation>
    </message>
    <message>
        <source>App&apos;s settings saving error: file %0 cannot be written (%1)</source>
        <translation>应用程序设置保存错误：无法写入文件 %0（%1）</translation>
    </message>
    <message>
        <source>App&apos;s settings file has lines that cannot be read, a copy is kept in file: %0</source>
        <translation>应用程序设置文件中有无法读取的行，副本已保存到文件：%0</translation>
    </message>
    <message>
        <source>App&apos;s settings loaded from file: %0</source>
        <translation>已从文件加载应用程序设置：%0</translation>
    </message>
    <message>
        <source>App&apos;s settings saving error: invalid subscription type (%0)</source>
        <translation>应用程序设置保存错误：无效的订阅类型（%0）</translation>
    </message>
    <message>
        <source>App&apos;s settings loading error: invalid subscription type (%0)</source>
        <translation>应用程序设置加载错误：无效的订阅类型（%0）</translation>
    </message>
    <message>
        <source>login data</source>
        <translation>登录数据</translation>
    </message>
    <message>
        <source>general</source>
        <translation>常规</translation>
    </message>
    <message>
        <source>favorites</source>
        <translation>收藏</translation>
    </message>
    <message>
        <source>last connection data</source>
        <translation>上次连接数据</translation>
    </message>
    <message>
        <source>VPN server&apos;s favorite IP</source>
        <translation>VPN 服务器的收藏 IP</translation>
    </message>
    <message>
        <source>app&apos;s language</source>
        <translation>应用程序语言</translation>
    </message>
    <message>
        <source>stat window</source>
        <translation>统计窗口</translation>
    </message>
    <message>
        <source>last launched version</source>
        <translation>上次启动的版本</translation>
    </message>
    <message>
        <source>emergency addresses</source>
        <translation>应急地址</translation>
    </message>
    <message>
        <source>additional</source>
        <translation>附加</translation>
    </message>
</context>
<context>
    <name>ShadowsocksProcess</name>
    <message>
        <source>[Shadowsocks]: already running, not started again</source>
        <translation>[Shadowsocks]: 已在运行，不再重复启动</translation>
    </message>
    <message>
        <source>[Shadowsocks]: process successfully stopped</source>
        <translation>[Shadowsocks]: 进程已成功停止</translation>
    </message>
    <message>
        <source>[Shadowsocks]: process stopping error</source>
        <translation>[Shadowsocks]: 停止进程时出错</translation>
    </message>
    <message>
        <source>[Shadowsocks]: %1</source>
        <translation>[Shadowsocks]: %1</translation>
    </message>
    <message>
        <source>[Shadowsocks]: an error occurred. Stopping...</source>
        <translation>[Shadowsocks]: 发生错误，正在停止...</translation>
    </message>
    <message>
        <source>[Shadowsocks]: state changed to running</source>
        <translation>[Shadowsocks]: 状态变为运行中</translation>
    </message>
    <message>
        <source>[Shadowsocks]: state changed to stopped</source>
        <translation>[Shadowsocks]: 状态变为已停止</translation>
    </message>
</context>
<context>
    <name>SlidingButton</name>
    <message>
        <source>Form</source>
        <translation>窗体</translation>
    </message>
    <message>
        <source>Left Value</source>
        <translation>左侧值</translation>
    </message>
    <message>
        <source>Right Value</source>
        <translation>右侧值</translation>
    </message>
    <message>
        <source>PushButton</source>
        <translation>按钮</translation>
    </message>
</context>
<context>
    <name>StatWidget</name>
    <message>
        <source>StatWidget</source>
        <translation>统计</translation>
    </message>
    <message>
        <source>Time:</source>
        <translation>时间：</translation>
    </message>
    <message>
        <source>0 s</source>
        <translation>0 秒</translation>
    </message>
    <message>
        <source>Speed</source>
        <translation>速度</translation>
    </message>
    <message>
        <source>Download:</source>
        <translation>下载：</translation>
    </message>
    <message>
        <source>0 b/s</source>
        <translation>0 b/s</translation>
    </message>
    <message>
        <source>Upload:</source>
        <translation>上传：</translation>
    </message>
    <message>
        <source>Traffic</source>
        <translation>流量</translation>
    </message>
    <message>
        <source>In:</source>
        <translation>接收：</translation>
    </message>
    <message>
        <source>0 B</source>
        <translation>0 B</translation>
    </message>
    <message>
        <source>Out:</source>
        <translation>发送：</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>关闭</translation>
    </message>
</context>
<context>
    <name>VPNServerItem</name>
    <message>
        <source>Favorite</source>
        <translation>收藏</translation>
    </message>
</context>
<context>
    <name>VPNProcess</name>
    <message>
        <source>[OpenVPN]: cannot start %1</source>
        <translation>[OpenVPN]: 无法启动 %1</translation>
    </message>
    <message>
        <source>Shutting down another active openvpn process</source>
        <translation>正在关闭另一个活动的 OpenVPN 进程</translation>
    </message>
    <message>
        <source>[OpenVPN]: state changed to running</source>
        <translation>[OpenVPN]: 状态变为运行中</translation>
    </message>
    <message>
        <source>[OpenVPN]: state changed to stopped</source>
        <translation>[OpenVPN]: 状态变为已停止</translation>
    </message>
    <message>
        <source>[OpenVPN]: management interface did not answer</source>
        <translation>[OpenVPN]: 管理接口未响应</translation>
    </message>
</context>
</TS>
