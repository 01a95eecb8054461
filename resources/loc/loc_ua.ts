<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="uk_UA">
<context>
    <name>ApiRequestBuilder</name>
    <message>
        <source>auth key for server [1]</source>
        <translation>ключ авторизації для сервера [1]</translation>
    </message>
    <message>
        <source>user&apos;s authorization [2]</source>
        <translation>авторизація користувача [2]</translation>
    </message>
    <message>
        <source>additional authorization support [3]</source>
        <translation>додаткова перевірка авторизації [3]</translation>
    </message>
    <message>
        <source>user&apos;s subscriptions [4]</source>
        <translation>підписки користувача [4]</translation>
    </message>
    <message>
        <source>available VPN server list (premium/free sub) [5]</source>
        <translation>список доступних VPN-серверів (преміум/безкоштовна підписка) [5]</translation>
    </message>
    <message>
        <source>available VPN server list (double sub) [6]</source>
        <translation>список доступних VPN-серверів (подвійна підписка) [6]</translation>
    </message>
    <message>
        <source> user&apos;s original IP [7]</source>
        <translation> початковий IP користувача [7]</translation>
    </message>
    <message>
        <source>openvpn configuration for VPN connection [9]</source>
        <translation>конфігурація OpenVPN для VPN-підключення [9]</translation>
    </message>
    <message>
        <source>user&apos;s IP througth VPN connection [8]</source>
        <translation>IP користувача через VPN-підключення [8]</translation>
    </message>
    <message>
        <source> server&apos;s availability on default address [11]</source>
        <translation> доступність сервера за основною адресою [11]</translation>
    </message>
    <message>
        <source> mirror tool config [10]</source>
        <translation> конфігурація інструмента дзеркала [10]</translation>
    </message>
    <message>
        <source>[9]: VPN Server info: %0, %1 (IP: %2, Protocol: %3)</source>
        <translation>[9]: Дані VPN-сервера: %0, %1 (IP: %2, протокол: %3)</translation>
    </message>
</context>
<context>
    <name>DiagnosisVerdict</name>
    <message>
        <source>No network: this computer has no route to the Internet, and nothing answers.</source>
        <translation>Немає мережі: цей комп&apos;ютер не має маршруту до Інтернету, і ніщо не відповідає.</translation>
    </message>
    <message>
        <source>The service is blocked: its API cannot be reached on either address.</source>
        <translation>Сервіс заблоковано: його API недоступний за жодною з адрес.</translation>
    </message>
    <message>
        <source>The server does not answer: it may be down. Choose another server.</source>
        <translation>Сервер не відповідає: можливо, він не працює. Виберіть інший сервер.</translation>
    </message>
    <message>
        <source>UDP is blocked, TCP works: this network lets the server through on TCP only.</source>
        <translation>UDP заблоковано, TCP працює: ця мережа пропускає з&apos;єднання із сервером лише через TCP.</translation>
    </message>
    <message>
        <source>The network blocks VPN connections; the mirror route works.</source>
        <translation>Мережа блокує VPN-підключення; маршрут через дзеркало працює.</translation>
    </message>
    <message>
        <source>The server answers but refuses the account or the keys.</source>
        <translation>Сервер відповідає, але відхиляє обліковий запис або ключі.</translation>
    </message>
    <message>
        <source>The connection did not come up, and the cause could not be found.</source>
        <translation>Підключення не встановлено, і причину знайти не вдалося.</translation>
    </message>
    <message>
        <source>Choose another server</source>
        <translation>Обрати інший сервер</translation>
    </message>
    <message>
        <source>Use TCP</source>
        <translation>Використати TCP</translation>
    </message>
    <message>
        <source>Use the mirror route</source>
        <translation>Використати маршрут через дзеркало</translation>
    </message>
</context>
<context>
    <name>DiagnosticsDialog</name>
    <message>
        <source>The archive would exceed %1 MB.</source>
        <translation>Архів перевищив би %1 МБ.</translation>
    </message>
    <message>
        <source>Hide my addresses</source>
        <translation>Приховати мої адреси</translation>
    </message>
    <message>
        <source>Collecting diagnostics…</source>
        <translation>Збирання діагностичних даних…</translation>
    </message>
    <message>
        <source>Save diagnostics</source>
        <translation>Зберегти діагностику</translation>
    </message>
    <message>
        <source>The archive holds the files below. Passwords, keys and your home folder are removed; nothing is sent anywhere.</source>
        <translation>Архів містить файли, перелічені нижче. Паролі, ключі та шлях до вашої домашньої папки видалено; нічого нікуди не надсилається.</translation>
    </message>
    <message>
        <source>File</source>
        <translation>Файл</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>Розмір</translation>
    </message>
    <message>
        <source>Files in the archive</source>
        <translation>Файли в архіві</translation>
    </message>
    <message>
        <source>Public addresses other than the VPN servers&apos; are replaced in every file.</source>
        <translation>Публічні адреси, крім адрес VPN-серверів, замінюються в усіх файлах.</translation>
    </message>
    <message numerus="yes">
        <source>%n file(s), %1 before compression; the archive holds at most %2.</source>
        <translation>
            <numerusform>%n файл, %1 до стиснення; архів займе не більше %2.</numerusform>
            <numerusform>%n файли, %1 до стиснення; архів займе не більше %2.</numerusform>
            <numerusform>%n файлів, %1 до стиснення; архів займе не більше %2.</numerusform>
        </translation>
    </message>
    <message>
        <source>The archive could not be saved: %1</source>
        <translation>Не вдалося зберегти архів: %1</translation>
    </message>
</context>
<context>
    <name>LockSelfTest</name>
    <message>
        <source>The lock&apos;s helper is not installed: %1</source>
        <translation>Допоміжну програму блокування не встановлено: %1</translation>
    </message>
    <message>
        <source>The lock&apos;s helper did not answer in time.</source>
        <translation>Допоміжна програма блокування не відповіла вчасно.</translation>
    </message>
    <message>
        <source>The lock&apos;s helper gave no result: %1</source>
        <translation>Допоміжна програма блокування не повернула результат: %1</translation>
    </message>
    <message>
        <source>The lock&apos;s rules are loaded and unchanged</source>
        <translation>Правила блокування завантажено й не змінено</translation>
    </message>
    <message>
        <source>Connections outside the VPN are refused</source>
        <translation>Підключення в обхід VPN відхиляються</translation>
    </message>
    <message>
        <source>Blocked packets</source>
        <translation>Заблоковані пакети</translation>
    </message>
    <message>
        <source>Loopback and the VPN server are let through</source>
        <translation>Петлевий інтерфейс і VPN-сервер пропускаються</translation>
    </message>
    <message>
        <source>passed</source>
        <translation>пройдено</translation>
    </message>
    <message>
        <source>FAILED</source>
        <translation>НЕ ПРОЙДЕНО</translation>
    </message>
    <message>
        <source>no answer</source>
        <translation>немає відповіді</translation>
    </message>
    <message>
        <source>Apply the lock again (switch it off and on in Settings), or use the emergency unblock.</source>
        <translation>Застосуйте блокування знову (вимкніть і увімкніть його в налаштуваннях) або скористайтеся аварійним розблокуванням.</translation>
    </message>
</context>
<context>
    <name>LockSelfTestDialog</name>
    <message>
        <source>Testing the network lock…</source>
        <translation>Перевірка блокування мережі…</translation>
    </message>
    <message>
        <source>Test network lock</source>
        <translation>Перевірити блокування мережі</translation>
    </message>
    <message>
        <source>Results of the network lock test</source>
        <translation>Результати перевірки блокування мережі</translation>
    </message>
    <message>
        <source>The network lock works: every check passed.</source>
        <translation>Блокування мережі працює: усі перевірки пройдено.</translation>
    </message>
    <message>
        <source>The network lock does not work as it should.</source>
        <translation>Блокування мережі працює не так, як має.</translation>
    </message>
</context>
<context>
    <name>Loger</name>
    <message>
        <source>Application started</source>
        <translation>Програму запущено</translation>
    </message>
    <message>
        <source>Log file closed</source>
        <translation>Файл журналу закрито</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Applying special option: </source>
        <translation>Застосування спеціального параметра: </translation>
    </message>
    <message>
        <source>lock network on VPN disconnect (on)...</source>
        <translation>блокування мережі при відключенні VPN (увімк.)...</translation>
    </message>
    <message>
        <source>lock network on VPN disconnect (off)...</source>
        <translation>блокування мережі при відключенні VPN (вимк.)...</translation>
    </message>
    <message>
        <source>lock network on VPN disconnect (emergency unblock)...</source>
        <translation>блокування мережі при відключенні VPN (аварійне розблокування)...</translation>
    </message>
    <message>
        <source>startup on system logon (on)...</source>
        <translation>автозапуск під час входу в систему (увімк.)...</translation>
    </message>
    <message>
        <source>startup on system logon (off)...</source>
        <translation>автозапуск під час входу в систему (вимк.)...</translation>
    </message>
    <message>
        <source>success</source>
        <translation>успішно</translation>
    </message>
    <message>
        <source>failed</source>
        <translation>помилка</translation>
    </message>
    <message>
        <source> switching on.</source>
        <translation> увімкнення.</translation>
    </message>
    <message>
        <source> switching off.</source>
        <translation> вимкнення.</translation>
    </message>
    <message>
        <source>Settings applying: &quot;Block network without VPN connection&quot; switched on: %0</source>
        <translation>Застосування налаштувань: &quot;Блокувати мережу без VPN-підключення&quot; увімкнено: %0</translation>
    </message>
    <message>
        <source>Settings applying: &quot;Block network without VPN connection&quot; switched off: %0</source>
        <translation>Застосування налаштувань: &quot;Блокувати мережу без VPN-підключення&quot; вимкнено: %0</translation>
    </message>
    <message>
        <source>Settings applying: &quot;Block network without VPN connection&quot; emergency unblock: %0</source>
        <translation>Застосування налаштувань: &quot;Блокувати мережу без VPN-підключення&quot; аварійне розблокування: %0</translation>
    </message>
    <message>
        <source>Settings applying: add program to system startup: %0</source>
        <translation>Застосування налаштувань: додавання програми до автозапуску: %0</translation>
    </message>
    <message>
        <source>Settings applying: remove program from system startup: %0</source>
        <translation>Застосування налаштувань: видалення програми з автозапуску: %0</translation>
    </message>
    <message>
        <source>User logged out (account: %0)</source>
        <translation>Користувач вийшов з облікового запису (акаунт: %0)</translation>
    </message>
    <message>
        <source>Log out</source>
        <translation>Вийти</translation>
    </message>
    <message>
        <source>Remember me</source>
        <translation>Запам&apos;ятати мене</translation>
    </message>
    <message>
        <source>&lt;a href=&quot;%0/en/password-remind&quot;&gt;&lt;span style=&quot; color:#5f5f5f; font-size: 9px;&quot;&gt;Forgot password?&lt;/span&gt;&lt;/a&gt;</source>
        <translation>&lt;a href=&quot;%0/en/password-remind&quot;&gt;&lt;span style=&quot; color:#5f5f5f; font-size: 9px;&quot;&gt;Забули пароль?&lt;/span&gt;&lt;/a&gt;</translation>
    </message>
    <message>
        <source>SIGN IN</source>
        <translation>УВІЙТИ</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p style=&quot; line-height: 17px; color:#5f5f5f; font-size: 9px;&quot;&gt;To sign in you need &lt;a href=&quot;%0/en/signup&quot;&gt;&lt;span style=&quot; text-decoration: underline; color:#5f5f5f;&quot;&gt;to register&lt;/span&gt;&lt;/a&gt; on site&lt;br&gt;and &lt;a href=&quot;%0/en/panel/package/buy&quot;&gt;&lt;span style=&quot; text-decoration: underline; color:#5f5f5f;&quot;&gt;buy subscription&lt;/span&gt;&lt;/a&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p style=&quot; line-height: 17px; color:#5f5f5f; font-size: 9px;&quot;&gt;Для входу потрібно &lt;a href=&quot;%0/en/signup&quot;&gt;&lt;span style=&quot; text-decoration: underline; color:#5f5f5f;&quot;&gt;зареєструватися&lt;/span&gt;&lt;/a&gt; на сайті&lt;br&gt;і &lt;a href=&quot;%0/en/panel/package/buy&quot;&gt;&lt;span style=&quot; text-decoration: underline; color:#5f5f5f;&quot;&gt;придбати підписку&lt;/span&gt;&lt;/a&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>Authorization</source>
        <translation>Авторизація</translation>
    </message>
    <message>
        <source>&lt;p&gt;&lt;span style=&quot; font-size:13px;&quot;&gt;Loading packages&lt;/span&gt;&lt;span style=&quot; color:rgba(0,0,0,0);&quot;&gt;.&lt;/span&gt;&lt;span style=&quot; color:rgba(0,0,0,0);&quot;&gt;.&lt;/span&gt;&lt;span style=&quot; color:rgba(0,0,0,0);&quot;&gt;.&lt;/span&gt;&lt;/p&gt;</source>
        <translation>&lt;p&gt;&lt;span style=&quot; font-size:13px;&quot;&gt;Завантаження пакетів&lt;/span&gt;&lt;span style=&quot; color:rgba(0,0,0,0);&quot;&gt;.&lt;/span&gt;&lt;span style=&quot; color:rgba(0,0,0,0);&quot;&gt;.&lt;/span&gt;&lt;span style=&quot; color:rgba(0,0,0,0);&quot;&gt;.&lt;/span&gt;&lt;/p&gt;</translation>
    </message>
    <message>
        <source>Select subscription:</source>
        <translation>Виберіть підписку:</translation>
    </message>
    <message>
        <source>NEXT</source>
        <translation>ДАЛІ</translation>
    </message>
    <message>
        <source>Back</source>
        <translation>Назад</translation>
    </message>
    <message>
        <source>change</source>
        <translation>змінити</translation>
    </message>
    <message>
        <source>VPN disabled</source>
        <translation>VPN вимкнено</translation>
    </message>
    <message>
        <source>Active:</source>
        <translation>Підключено:</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;span style=&quot; font-size:13px;&quot;&gt;Connecting...&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;span style=&quot; font-size:13px;&quot;&gt;Підключення...&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>&lt;p&gt;&lt;span style=&quot; font-size:13px;&quot;&gt;Checking servers&lt;/span&gt;&lt;/p&gt;</source>
        <translation>&lt;p&gt;&lt;span style=&quot; font-size:13px;&quot;&gt;Перевірка серверів&lt;/span&gt;&lt;/p&gt;</translation>
    </message>
    <message>
        <source>SWITCH OFF VPN</source>
        <translation>ВИМКНУТИ VPN</translation>
    </message>
    <message>
        <source>AUTO SELECT</source>
        <translation>АВТОВИБІР</translation>
    </message>
    <message>
        <source>CHOOSE SERVER</source>
        <translation>ОБРАТИ СЕРВЕР</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p style=&quot; line-height: 17px; color:#5f5f5f; font-size: 9px;&quot;&gt;&lt;span&gt;&amp;quot;Auto select&amp;quot; mode connects you to the &lt;br&gt;fastest VPN location at the moment&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p style=&quot; line-height: 17px; color:#5f5f5f; font-size: 9px;&quot;&gt;&lt;span&gt;Режим &amp;quot;Автовибір&amp;quot; підключає вас до &lt;br&gt;найшвидшої VPN-локації на цей момент&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>CONNECT</source>
        <translation>ПІДКЛЮЧИТИ</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;span style=&quot; font-size:24px;&quot;&gt;Information&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;span style=&quot; font-size:24px;&quot;&gt;Інформація&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>Protocol:</source>
        <translation>Протокол:</translation>
    </message>
    <message>
        <source>Location:</source>
        <translation>Локація:</translation>
    </message>
    <message>
        <source>New IP:</source>
        <translation>Новий IP:</translation>
    </message>
    <message>
        <source>Original IP:</source>
        <translation>Початковий IP:</translation>
    </message>
    <message>
        <source>Time:</source>
        <translation>Час:</translation>
    </message>
    <message>
        <source>Speed</source>
        <translation>Швидкість</translation>
    </message>
    <message>
        <source>Download:</source>
        <translation>Завантаження:</translation>
    </message>
    <message>
        <source>0 b/s</source>
        <translation>0 біт/с</translation>
    </message>
    <message>
        <source>Upload:</source>
        <translation>Вивантаження:</translation>
    </message>
    <message>
        <source>Traffic</source>
        <translation>Трафік</translation>
    </message>
    <message>
        <source>In:</source>
        <translation>Отримано:</translation>
    </message>
    <message>
        <source>0 B</source>
        <translation>0 Б</translation>
    </message>
    <message>
        <source>Out:</source>
        <translation>Надіслано:</translation>
    </message>
    <message>
        <source>Change IP:</source>
        <translation>Змінити IP:</translation>
    </message>
    <message>
        <source>RECONNECT</source>
        <translation>ПЕРЕПІДКЛЮЧИТИ</translation>
    </message>
    <message>
        <source>Select first server:</source>
        <translation>Виберіть перший сервер:</translation>
    </message>
    <message>
        <source>Select second server:</source>
        <translation>Виберіть другий сервер:</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p align=&quot;center&quot; style=&quot; line-height: 20px;&quot;&gt;&lt;span style=&quot; font-size:13px; color:#5f5f5f;&quot;&gt;Version %0&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p align=&quot;center&quot; style=&quot; line-height: 20px;&quot;&gt;&lt;span style=&quot; font-size:13px; color:#5f5f5f;&quot;&gt;Версія %0&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>&lt;Not connected&gt;</source>
        <translation>&lt;Не підключено&gt;</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;span style=&quot; font-size: 24px;&quot;&gt;Settings&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;span style=&quot; font-size: 24px;&quot;&gt;Налаштування&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>Lock network if VPN disconnected:</source>
        <translation>Блокувати мережу без VPN:</translation>
    </message>
    <message>
        <source>Autoconnect to VPN with startup:</source>
        <translation>Підключатися до VPN під час запуску:</translation>
    </message>
    <message>
        <source>Start minimized:</source>
        <translation>Запускати згорнутим:</translation>
    </message>
    <message>
        <source>Language:</source>
        <translation>Мова:</translation>
    </message>
    <message>
        <source>Show stats window on VPN connect:</source>
        <translation>Показувати статистику під час підключення:</translation>
    </message>
    <message>
        <source>Autostart on system logon:</source>
        <translation>Запускати під час входу в систему:</translation>
    </message>
    <message>
        <source>Check servers for availability:</source>
        <translation>Перевіряти доступність серверів:</translation>
    </message>
    <message>
        <source>Enable DNS leak protection:</source>
        <translation>Захист від витоку DNS:</translation>
    </message>
    <message>
        <source>VPN log</source>
        <translation>Журнал VPN</translation>
    </message>
    <message>
        <source>Program log</source>
        <translation>Журнал програми</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p style=&quot; line-height: 17px; color:#5f5f5f; font-size: 9px;&quot;&gt;&lt;span &gt;Settings will be applied on&lt;/span&gt;&lt;br&gt;&lt;span&gt;&quot;BACK&quot; clicked&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p style=&quot; line-height: 17px; color:#5f5f5f; font-size: 9px;&quot;&gt;&lt;span &gt;Налаштування буде застосовано&lt;/span&gt;&lt;br&gt;&lt;span&gt;після натискання «Назад»&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>&lt;p style=&quot;font-size: 11px;&quot;&gt;Applying settings&lt;span style=&quot; color:rgba(0,0,0,0);&quot;&gt;.&lt;/span&gt;&lt;span style=&quot; color:rgba(0,0,0,0);&quot;&gt;.&lt;/span&gt;&lt;span style=&quot; color:rgba(0,0,0,0);&quot;&gt;.&lt;/span&gt;&lt;/p&gt;</source>
        <translation>&lt;p style=&quot;font-size: 11px;&quot;&gt;Застосування налаштувань&lt;span style=&quot; color:rgba(0,0,0,0);&quot;&gt;.&lt;/span&gt;&lt;span style=&quot; color:rgba(0,0,0,0);&quot;&gt;.&lt;/span&gt;&lt;span style=&quot; color:rgba(0,0,0,0);&quot;&gt;.&lt;/span&gt;&lt;/p&gt;</translation>
    </message>
    <message>
        <source>This package has been paused</source>
        <translation>Цей пакет призупинено</translation>
    </message>
    <message>
        <source>This package has been expired</source>
        <translation>Термін дії цього пакета закінчився</translation>
    </message>
    <message>
        <source>Servers</source>
        <translation>Сервери</translation>
    </message>
    <message>
        <source>Favorites</source>
        <translation>Обране</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>Копіювати</translation>
    </message>
    <message>
        <source>Main window is visible</source>
        <translation>Головне вікно відображається</translation>
    </message>
    <message>
        <source>Main window is now hidden</source>
        <translation>Головне вікно приховано</translation>
    </message>
    <message>
        <source>Unable to get list of subscriptions.</source>
        <translation>Не вдалося отримати список підписок.</translation>
    </message>
    <message>
        <source>Unable to get list of servers.</source>
        <translation>Не вдалося отримати список серверів.</translation>
    </message>
    <message>
        <source>Unable to get list of servers for double subscription.</source>
        <translation>Не вдалося отримати список серверів для подвійної підписки.</translation>
    </message>
    <message>
        <source>Unable to get Shadowsocks config file.</source>
        <translation>Не вдалося отримати файл конфігурації Shadowsocks.</translation>
    </message>
    <message>
        <source>Unable to get OpenVPN config file.</source>
        <translation>Не вдалося отримати файл конфігурації OpenVPN.</translation>
    </message>
    <message>
        <source>Unable to get your IP before VPN connection.</source>
        <translation>Не вдалося визначити ваш IP до підключення до VPN.</translation>
    </message>
    <message>
        <source>Unable to get your new IP througth VPN connection.</source>
        <translation>Не вдалося визначити ваш новий IP через VPN-підключення.</translation>
    </message>
    <message>
        <source>Log is switched off or file does not exists.</source>
        <translation>Журнал вимкнено або файл не існує.</translation>
    </message>
    <message>
        <source>Unsupported subscription type.</source>
        <translation>Непідтримуваний тип підписки.</translation>
    </message>
    <message>
        <source>IP before and after VPN connection establishment are equal.</source>
        <translation>IP до та після встановлення VPN-підключення однакові.</translation>
    </message>
    <message>
        <source>Unable to apply following setting:&lt;br&gt;%0</source>
        <translation>Не вдалося застосувати налаштування:&lt;br&gt;%0</translation>
    </message>
    <message>
        <source>Application is running already.</source>
        <translation>Програму вже запущено.</translation>
    </message>
    <message>
        <source>Additional tool install/check error. Unable to proceed.</source>
        <translation>Помилка встановлення або перевірки додаткового компонента. Продовження неможливе.</translation>
    </message>
    <message>
        <source>Active VPN connection will be disconnected.&lt;br&gt;Proceed?</source>
        <translation>Активне VPN-підключення буде розірвано.&lt;br&gt;Продовжити?</translation>
    </message>
    <message>
        <source>Program will log out from account.&lt;br&gt;Proceed?</source>
        <translation>Програма вийде з облікового запису.&lt;br&gt;Продовжити?</translation>
    </message>
    <message>
        <source>Block setting configures system components by special way.&lt;br&gt;&lt;br&gt;Please do not change or remove additional rules and/or options created by program in system components.&lt;br&gt;&lt;br&gt;Configuration interruption may lead to unblocking failure.&lt;br&gt;&lt;br&gt;Proceed?</source>
        <translation>Блокування особливим чином налаштовує компоненти системи.&lt;br&gt;&lt;br&gt;Не змінюйте і не видаляйте додаткові правила та/або параметри, створені програмою в компонентах системи.&lt;br&gt;&lt;br&gt;Переривання налаштування може призвести до збою розблокування.&lt;br&gt;&lt;br&gt;Продовжити?</translation>
    </message>
    <message>
        <source>Error: authorization failed</source>
        <translation>Помилка: не вдалося увійти</translation>
    </message>
    <message>
        <source>Error: unable to get subscriptions</source>
        <translation>Помилка: не вдалося отримати підписки</translation>
    </message>
    <message>
        <source>Error: there are no active subscribtions</source>
        <translation>Помилка: немає активних підписок</translation>
    </message>
    <message>
        <source>Error: unable to get list of available servers</source>
        <translation>Помилка: не вдалося отримати список доступних серверів</translation>
    </message>
    <message>
        <source>Error: unable to establish VPN connection</source>
        <translation>Помилка: не вдалося встановити VPN-підключення</translation>
    </message>
    <message>
        <source>VPN connection established
Original IP: %0
New IP: %1</source>
        <translation>VPN-підключення встановлено
Початковий IP: %0
Новий IP: %1</translation>
    </message>
    <message>
        <source>VPN disconnected</source>
        <translation>VPN відключено</translation>
    </message>
    <message>
        <source>VPN not connected</source>
        <translation>VPN не підключено</translation>
    </message>
    <message>
        <source>VPN is connecting...</source>
        <translation>VPN підключається...</translation>
    </message>
    <message>
        <source>VPN connected</source>
        <translation>VPN підключено</translation>
    </message>
    <message>
        <source>VPN is disconnecting...</source>
        <translation>VPN відключається...</translation>
    </message>
    <message>
        <source>Error code: %0&lt;br&gt;</source>
        <translation>Код помилки: %0&lt;br&gt;</translation>
    </message>
    <message>
        <source>New language will be applied after restart.</source>
        <translation>Нову мову буде застосовано після перезапуску.</translation>
    </message>
    <message>
        <source>Subscription &quot;%0&quot; will end %1.</source>
        <translation>Підписка &quot;%0&quot; закінчиться %1.</translation>
    </message>
    <message>
        <source>Update subscription</source>
        <translation>Продовжити підписку</translation>
    </message>
    <message>
        <source>Following setting applied:&lt;br&gt;Lock network without VPN: unblocking&lt;br&gt;&lt;br&gt;Check your network connection. If you experiencing issues, use &lt;b&gt;Emergency unblock&lt;/b&gt;.</source>
        <translation>Застосовано налаштування:&lt;br&gt;Блокування мережі без VPN: розблокування&lt;br&gt;&lt;br&gt;Перевірте мережеве підключення. Якщо виникли проблеми, натисніть &lt;b&gt;Екстрене розблокування&lt;/b&gt;.</translation>
    </message>
    <message>
        <source>Emergency unblock</source>
        <translation>Екстрене розблокування</translation>
    </message>
    <message>
        <source>Uses Windows Firewall.

Blocking takes immediately effect on current and new network connections. Blocking continues after PC restart (normal/sudden). Blocking not depends on program state (running/closed).</source>
        <translation>Використовує брандмауер Windows.

Блокування одразу діє на поточні та нові мережеві підключення. Блокування зберігається після перезавантаження ПК (звичайного чи раптового). Блокування не залежить від стану програми (запущена чи закрита).</translation>
    </message>
    <message>
        <source>Don&apos;t show this message again</source>
        <translation>Більше не показувати це повідомлення</translation>
    </message>
    <message>
        <source>Unable to get authorization key</source>
        <translation>Не вдалося отримати ключ авторизації</translation>
    </message>
    <message>
        <source>Authorization failed</source>
        <translation>Помилка авторизації</translation>
    </message>
    <message>
        <source>Unable to get authorization support reply</source>
        <translation>Не вдалося отримати відповідь додаткової авторизації</translation>
    </message>
    <message>
        <source>Unable to get subscription list</source>
        <translation>Не вдалося отримати список підписок</translation>
    </message>
    <message>
        <source>Unable to get available VPN server list</source>
        <translation>Не вдалося отримати список доступних VPN-серверів</translation>
    </message>
    <message>
        <source>Unable to get VPN server list (double sub)</source>
        <translation>Не вдалося отримати список VPN-серверів (подвійна підписка)</translation>
    </message>
    <message>
        <source>Unable to get user&apos;s original IP</source>
        <translation>Не вдалося отримати початковий IP користувача</translation>
    </message>
    <message>
        <source>Unable to get openvpn configuration</source>
        <translation>Не вдалося отримати конфігурацію OpenVPN</translation>
    </message>
    <message>
        <source>Unable to get user&apos;s IP througth VPN connection</source>
        <translation>Не вдалося отримати IP користувача через VPN-підключення</translation>
    </message>
    <message>
        <source>Unable to get mirror tool configuration</source>
        <translation>Не вдалося отримати конфігурацію інструмента дзеркала</translation>
    </message>
    <message>
        <source>Request to Kestrune server was sent: </source>
        <translation>Запит до сервера Kestrune надіслано: </translation>
    </message>
    <message>
        <source>Server reply on %0</source>
        <translation>Відповідь сервера на %0</translation>
    </message>
    <message>
        <source>&quot;declined&quot; server reply</source>
        <translation>сервер відповів &quot;declined&quot;</translation>
    </message>
    <message>
        <source>Unable to decode server reply</source>
        <translation>Не вдалося розібрати відповідь сервера</translation>
    </message>
    <message>
        <source>. Details:</source>
        <translation>. Подробиці:</translation>
    </message>
    <message>
        <source>Invalid subscription type</source>
        <translation>Неприпустимий тип підписки</translation>
    </message>
    <message>
        <source>Wrong server data</source>
        <translation>Неправильні дані сервера</translation>
    </message>
    <message>
        <source>There are SSL errors occurred during request to server. Details:</source>
        <translation>Під час запиту до сервера виникли помилки SSL. Подробиці:</translation>
    </message>
    <message>
        <source>auth key for server [1]</source>
        <translation>ключ авторизації для сервера [1]</translation>
    </message>
    <message>
        <source>user&apos;s authorization [2]</source>
        <translation>авторизація користувача [2]</translation>
    </message>
    <message>
        <source>additional authorization support [3]</source>
        <translation>додаткова перевірка авторизації [3]</translation>
    </message>
    <message>
        <source>user&apos;s subscriptions [4]</source>
        <translation>підписки користувача [4]</translation>
    </message>
    <message>
        <source>available VPN server list (premium/free sub) [5]</source>
        <translation>список доступних VPN-серверів (преміум/безкоштовна підписка) [5]</translation>
    </message>
    <message>
        <source>available VPN server list (double sub) [6]</source>
        <translation>список доступних VPN-серверів (подвійна підписка) [6]</translation>
    </message>
    <message>
        <source> user&apos;s original IP [7]</source>
        <translation> початковий IP користувача [7]</translation>
    </message>
    <message>
        <source>openvpn configuration for VPN connection [9]</source>
        <translation>конфігурація OpenVPN для VPN-підключення [9]</translation>
    </message>
    <message>
        <source>user&apos;s IP througth VPN connection [8]</source>
        <translation>IP користувача через VPN-підключення [8]</translation>
    </message>
    <message>
        <source> server&apos;s availability on default address [11]</source>
        <translation> доступність сервера за основною адресою [11]</translation>
    </message>
    <message>
        <source> mirror tool config [10]</source>
        <translation> конфігурація інструмента дзеркала [10]</translation>
    </message>
    <message>
        <source>[9]: VPN Server info: %0, %1 (IP: %2, Protocol: %3)</source>
        <translation>[9]: Дані VPN-сервера: %0, %1 (IP: %2, протокол: %3)</translation>
    </message>
    <message>
        <source>&lt;not selected&gt;</source>
        <translation>&lt;не вибрано&gt;</translation>
    </message>
    <message>
        <source>&lt;p&gt;&lt;span style=&quot;font-size:13px;&quot;&gt;Checking servers (%0/%1)&lt;/span&gt;&lt;/p&gt;</source>
        <translation>&lt;p&gt;&lt;span style=&quot;font-size:13px;&quot;&gt;Перевірка серверів (%0/%1)&lt;/span&gt;&lt;/p&gt;</translation>
    </message>
    <message>
        <source>Availability check finished, %0 of %1 servers are reachable</source>
        <translation>Перевірку доступності завершено, доступно серверів: %0 з %1</translation>
    </message>
    <message>
        <source>Servers or favorites</source>
        <translation>Сервери або обране</translation>
    </message>
    <message>
        <source>Favorite pair</source>
        <translation>Обрана пара</translation>
    </message>
    <message>
        <source>All locations</source>
        <translation>Усі локації</translation>
    </message>
    <message>
        <source>Favorite locations</source>
        <translation>Обрані локації</translation>
    </message>
    <message>
        <source>Favorite pairs</source>
        <translation>Обрані пари</translation>
    </message>
    <message>
        <source>[10]: dropped %1 more members of the mirror tool configuration</source>
        <translation>[10]: з конфігурації інструмента дзеркала видалено ще елементів: %1</translation>
    </message>
    <message>
        <source>[10]: missing or unusable member &quot;%1&quot; in the mirror tool configuration</source>
        <translation>[10]: у конфігурації інструмента дзеркала відсутній або непридатний елемент &quot;%1&quot;</translation>
    </message>
    <message>
        <source>Stopping VPN connection</source>
        <translation>Зупинка VPN-з&apos;єднання</translation>
    </message>
    <message>
        <source>Interrupt connection status detected. Cancelation reply processing</source>
        <translation>Виявлено переривання з&apos;єднання. Обробку відповіді скасовано</translation>
    </message>
    <message>
        <source>Real IP received</source>
        <translation>Отримано реальну IP-адресу</translation>
    </message>
    <message>
        <source>Unable to save openvpn configuration in file</source>
        <translation>Не вдалося зберегти конфігурацію openvpn у файл</translation>
    </message>
    <message>
        <source>openvpn configuration has been successfully saved in file</source>
        <translation>конфігурацію openvpn успішно збережено у файл</translation>
    </message>
    <message>
        <source>Initializing VPN connection</source>
        <translation>Ініціалізація VPN-з&apos;єднання</translation>
    </message>
    <message>
        <source>retrying network request (retry: %0)</source>
        <translation>повтор мережевого запиту (спроба: %0)</translation>
    </message>
    <message>
        <source>User&apos;s IP through VPN connection received</source>
        <translation>Отримано IP-адресу користувача через VPN-з&apos;єднання</translation>
    </message>
    <message>
        <source>User&apos;s IP before and after VPN connection establishment are equal</source>
        <translation>IP-адреси користувача до і після встановлення VPN-з&apos;єднання однакові</translation>
    </message>
    <message>
        <source>expired</source>
        <translation>закінчилася</translation>
    </message>
    <message>
        <source>openvpn process closed</source>
        <translation>процес openvpn завершено</translation>
    </message>
    <message>
        <source>auto select</source>
        <translation>автовибір</translation>
    </message>
    <message>
        <source>unknown</source>
        <translation>невідомо</translation>
    </message>
    <message>
        <source>&lt;p style=&quot; color:#ff0000; font-size: 13px;&quot;&gt;&lt;span&gt;Unable to connect.&lt;/span&gt;&lt;a href=&quot;file:///</source>
        <translation>&lt;p style=&quot; color:#ff0000; font-size: 13px;&quot;&gt;&lt;span&gt;Не вдалося підключитися.&lt;/span&gt;&lt;a href=&quot;file:///</translation>
    </message>
    <message>
        <source>&quot;&gt;&lt;br&gt;&lt;span style=&quot; font-size: 13px; text-decoration: underline; color:#ff0000;&quot;&gt;View log&lt;/span&gt;&lt;/a&gt;&lt;/p&gt;</source>
        <translation>&quot;&gt;&lt;br&gt;&lt;span style=&quot; font-size: 13px; text-decoration: underline; color:#ff0000;&quot;&gt;Відкрити журнал&lt;/span&gt;&lt;/a&gt;&lt;/p&gt;</translation>
    </message>
    <message>
        <source>Connecting</source>
        <translation>Підключення</translation>
    </message>
    <message>
        <source>Disconnecting</source>
        <translation>Відключення</translation>
    </message>
    <message>
        <source>ABORT</source>
        <translation>СКАСУВАТИ</translation>
    </message>
    <message>
        <source>Disconnect VPN</source>
        <translation>Відключити VPN</translation>
    </message>
    <message>
        <source>Connect VPN (%0)</source>
        <translation>Підключити VPN (%0)</translation>
    </message>
    <message>
        <source>App version: KS %0, OS: %2 %3 (version %4),</source>
        <translation>Версія застосунку: KS %0, ОС: %2 %3 (версія %4),</translation>
    </message>
    <message>
        <source>OpenVPN version: %0, screen resolution: %1 on %2 pixels</source>
        <translation>Версія OpenVPN: %0, роздільна здатність екрана: %1 на %2 пікселів</translation>
    </message>
    <message>
        <source>Installed OpenVPN version (%0) incompatible with app.&lt;br&gt;Please install OpenVPN 2.3.x or 2.4.x.</source>
        <translation>Встановлена версія OpenVPN (%0) несумісна із застосунком.&lt;br&gt;Встановіть OpenVPN 2.3.x або 2.4.x.</translation>
    </message>
    <message>
        <source>Main window created</source>
        <translation>Головне вікно створено</translation>
    </message>
    <message>
        <source>[11]: Trying reconnect to emergency address</source>
        <translation>[11]: Спроба перепідключення до резервної адреси</translation>
    </message>
    <message>
        <source>Server Mirror Configuration needed: %0</source>
        <translation>Потрібна конфігурація дзеркала сервера: %0</translation>
    </message>
    <message>
        <source>yes</source>
        <translation>так</translation>
    </message>
    <message>
        <source>no</source>
        <translation>ні</translation>
    </message>
    <message>
        <source>Server Mirror Configuration disabled: Shadowsocks component not found.</source>
        <translation>Конфігурацію дзеркала сервера вимкнено: компонент Shadowsocks не знайдено.</translation>
    </message>
    <message>
        <source>Shadowsocks component not found.&lt;br&gt;Server mirror configurations are disabled.</source>
        <translation>Компонент Shadowsocks не знайдено.&lt;br&gt;Конфігурації дзеркал серверів вимкнено.</translation>
    </message>
    <message>
        <source>[WARNING]: server mirror configuration required TCP protocol only</source>
        <translation>[WARNING]: конфігурація дзеркала сервера потребує лише протоколу TCP</translation>
    </message>
    <message>
        <source>[10]: dropped member &quot;%1&quot; of the mirror tool configuration</source>
        <translation>[10]: з конфігурації інструмента дзеркала видалено елемент &quot;%1&quot;</translation>
    </message>
    <message>
        <source>Unable to save mirror tool configuration in file</source>
        <translation>Не вдалося зберегти конфігурацію інструмента дзеркала у файл</translation>
    </message>
    <message>
        <source>mirror tool configuration has been saved in file</source>
        <translation>конфігурацію інструмента дзеркала збережено у файл</translation>
    </message>
    <message>
        <source>Application is shutting down</source>
        <translation>Застосунок завершує роботу</translation>
    </message>
    <message>
        <source>[5]: VPN server list received. Server count: %0</source>
        <translation>[5]: Отримано список VPN-серверів. Кількість серверів: %0</translation>
    </message>
    <message>
        <source>App&apos;s settings saving error: no server selected (%0)</source>
        <translation>Помилка збереження налаштувань застосунку: сервер не вибрано (%0)</translation>
    </message>
    <message>
        <source>Sign-in not started: no service address</source>
        <translation>Вхід не розпочато: немає адреси сервісу</translation>
    </message>
    <message>
        <source>Server not reachable.</source>
        <translation>Сервер недоступний.</translation>
    </message>
    <message>
        <source>Incorrect server reply.</source>
        <translation>Некоректна відповідь сервера.</translation>
    </message>
    <message>
        <source>Server declined authorization request</source>
        <translation>Сервер відхилив запит авторизації</translation>
    </message>
    <message>
        <source>[1]: Authorization key received</source>
        <translation>[1]: Отримано ключ авторизації</translation>
    </message>
    <message>
        <source>Server declined authorization request.</source>
        <translation>Сервер відхилив запит авторизації.</translation>
    </message>
    <message>
        <source>[2]: Authorization completed (account: %0)</source>
        <translation>[2]: Авторизацію завершено (обліковий запис: %0)</translation>
    </message>
    <message>
        <source>[4]: Subscription list received. Subscription count: %0</source>
        <translation>[4]: Отримано список підписок. Кількість підписок: %0</translation>
    </message>
    <message>
        <source>[4]: Authorization completed</source>
        <translation>[4]: Авторизацію завершено</translation>
    </message>
    <message>
        <source>Subscription selected: no active subscription (purchase webpage opened)</source>
        <translation>Вибір підписки: немає активної підписки (відкрито сторінку покупки)</translation>
    </message>
    <message>
        <source>Subscription selected: %0</source>
        <translation>Вибрано підписку: %0</translation>
    </message>
    <message>
        <source>BUY SUBSCRIBTION</source>
        <translation>КУПИТИ ПІДПИСКУ</translation>
    </message>
    <message>
        <source>Connect VPN</source>
        <translation>Підключити VPN</translation>
    </message>
    <message>
        <source>Show stats</source>
        <translation>Показати статистику</translation>
    </message>
    <message>
        <source>Show window</source>
        <translation>Показати вікно</translation>
    </message>
    <message>
        <source>About</source>
        <translation>Про програму</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>Вихід</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Налаштування</translation>
    </message>
    <message>
        <source>Login</source>
        <translation>Логін</translation>
    </message>
    <message>
        <source>Password</source>
        <translation>Пароль</translation>
    </message>
    <message>
        <source>Connection information</source>
        <translation>Відомості про підключення</translation>
    </message>
    <message>
        <source>Copy address</source>
        <translation>Копіювати адресу</translation>
    </message>
    <message>
        <source>[OpenVPN]: state changed to stopped</source>
        <translation>[OpenVPN]: стан змінено на «зупинено»</translation>
    </message>
    <message>
        <source>Installed OpenVPN version (%0) incompatible with app.&lt;br&gt;Please install OpenVPN of one of these series: %1.</source>
        <translation>Встановлена версія OpenVPN (%0) несумісна із застосунком.&lt;br&gt;Встановіть OpenVPN однієї з цих серій: %1.</translation>
    </message>
    <message>
        <source>Connected: %0</source>
        <translation>Підключено: %0</translation>
    </message>
    <message>
        <source>Availability check still running at the end: left to end by itself</source>
        <translation>Перевірка доступності ще тривала під час завершення: її залишено завершитися самостійно</translation>
    </message>
    <message>
        <source>Why the connection did not come up</source>
        <translation>Чому підключення не встановлено</translation>
    </message>
    <message>
        <source>Switch automatically when the network blocks VPN:</source>
        <translation>Перемикатися автоматично, якщо мережа блокує VPN:</translation>
    </message>
    <message>
        <source>Switch automatically when the network blocks VPN</source>
        <translation>Перемикатися автоматично, якщо мережа блокує VPN</translation>
    </message>
    <message>
        <source>Finding out why the connection did not come up...</source>
        <translation>З&apos;ясовуємо, чому підключення не встановлено...</translation>
    </message>
    <message>
        <source>The client switched to TCP by itself.</source>
        <translation>Клієнт сам перемкнувся на TCP.</translation>
    </message>
    <message>
        <source>The client switched to the mirror route by itself.</source>
        <translation>Клієнт сам перемкнувся на маршрут через дзеркало.</translation>
    </message>
    <message>
        <source>Save diagnostics…</source>
        <translation>Зберегти діагностику…</translation>
    </message>
    <message>
        <source>Save diagnostics</source>
        <translation>Зберегти діагностику</translation>
    </message>
    <message>
        <source>ZIP archives (*.zip)</source>
        <translation>ZIP-архіви (*.zip)</translation>
    </message>
    <message>
        <source>Diagnostics saved to %0</source>
        <translation>Діагностику збережено в %0</translation>
    </message>
    <message>
        <source>Test network lock</source>
        <translation>Перевірити блокування мережі</translation>
    </message>
    <message>
        <source>Network lock self-test passed</source>
        <translation>Самоперевірку блокування мережі пройдено</translation>
    </message>
    <message>
        <source>Network lock self-test failed</source>
        <translation>Самоперевірку блокування мережі не пройдено</translation>
    </message>
    <message>
        <source>A worker thread still running at the end: left to end by itself</source>
        <translation>Робочий потік ще виконувався під час завершення: його залишено завершитися самостійно</translation>
    </message>
    <message>
        <source>Main window brought to the front for another start</source>
        <translation>Головне вікно виведено на передній план під час повторного запуску</translation>
    </message>
    <message>
        <source>Main window minimized to the taskbar: no system tray</source>
        <translation>Головне вікно згорнуто на панель завдань: немає системного трею</translation>
    </message>
    <message>
        <source>Waiting for the network</source>
        <translation>Очікування мережі</translation>
    </message>
    <message>
        <source>Reconnecting</source>
        <translation>Перепідключення</translation>
    </message>
    <message>
        <source>Network: the route to the VPN server is gone, waiting</source>
        <translation>Network: маршрут до VPN-сервера зник, очікування</translation>
    </message>
    <message>
        <source>Network: the route to the VPN server is back, reconnecting</source>
        <translation>Network: маршрут до VPN-сервера повернувся, перепідключення</translation>
    </message>
    <message>
        <source>Network: the route to the VPN server changed, reconnecting</source>
        <translation>Network: маршрут до VPN-сервера змінився, перепідключення</translation>
    </message>
    <message>
        <source>Network: the computer woke up, reconnecting</source>
        <translation>Network: комп&apos;ютер вийшов зі сну, перепідключення</translation>
    </message>
    <message>
        <source>Network: OpenVPN is reconnecting by itself</source>
        <translation>Network: OpenVPN перепідключається сам</translation>
    </message>
    <message>
        <source>Network: reconnected in %1 s</source>
        <translation>Network: перепідключено за %1 с</translation>
    </message>
    <message>
        <source>Network: the route to the VPN server is not watched (%1)</source>
        <translation>Network: маршрут до VPN-сервера не відстежується (%1)</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>Unknown error.</source>
        <translation>Невідома помилка.</translation>
    </message>
    <message>
        <source>Can&apos;t connect to server within given time interval.</source>
        <translation>Не вдалося підключитися до сервера за відведений час.</translation>
    </message>
    <message>
        <source>Can&apos;t connect to server.</source>
        <translation>Не вдалося підключитися до сервера.</translation>
    </message>
    <message>
        <source>Requested data not found on server.</source>
        <translation>Запитані дані не знайдено на сервері.</translation>
    </message>
    <message>
        <source>Proxy connection error. Turn off system proxy.</source>
        <translation>Помилка підключення через проксі. Вимкніть системний проксі.</translation>
    </message>
    <message>
        <source>[9]: removed a line containing a zero byte from the downloaded configuration</source>
        <translation>[9]: із завантаженої конфігурації видалено рядок з нульовим байтом</translation>
    </message>
    <message>
        <source>[9]: removed directive &quot;%1&quot; from the downloaded configuration</source>
        <translation>[9]: із завантаженої конфігурації видалено директиву &quot;%1&quot;</translation>
    </message>
    <message>
        <source>[9]: the downloaded configuration could not be made safe and was discarded</source>
        <translation>[9]: завантажену конфігурацію не вдалося зробити безпечною, її відкинуто</translation>
    </message>
    <message>
        <source>d </source>
        <translation>д </translation>
    </message>
    <message>
        <source> h </source>
        <translation> год </translation>
    </message>
    <message>
        <source> m </source>
        <translation> хв </translation>
    </message>
    <message>
        <source> s</source>
        <translation> с</translation>
    </message>
    <message>
        <source>%0 MB</source>
        <translation>%0 МБ</translation>
    </message>
    <message>
        <source>%0 KB</source>
        <translation>%0 КБ</translation>
    </message>
    <message>
        <source>%0 B</source>
        <translation>%0 Б</translation>
    </message>
    <message>
        <source>%0 Mb/s</source>
        <translation>%0 Мбіт/с</translation>
    </message>
    <message>
        <source>%0 Kb/s</source>
        <translation>%0 Кбіт/с</translation>
    </message>
    <message>
        <source>%0 b/s</source>
        <translation>%0 біт/с</translation>
    </message>
    <message>
        <source>%0 day</source>
        <comment>singular ending</comment>
        <translation>%0 день</translation>
    </message>
    <message>
        <source>%0 days</source>
        <comment>special ending</comment>
        <translation>%0 дні</translation>
    </message>
    <message>
        <source>%0 days</source>
        <comment>plural ending</comment>
        <translation>%0 днів</translation>
    </message>
    <message>
        <source>%0 hour</source>
        <comment>singular ending</comment>
        <translation>%0 година</translation>
    </message>
    <message>
        <source>%0 hours</source>
        <comment>special ending</comment>
        <translation>%0 години</translation>
    </message>
    <message>
        <source>%0 hours</source>
        <comment>plural ending</comment>
        <translation>%0 годин</translation>
    </message>
    <message>
        <source>%0 m</source>
        <translation>%0 хв</translation>
    </message>
    <message>
        <source>%0 s</source>
        <translation>%0 с</translation>
    </message>
    <message>
        <source>left</source>
        <comment>days, singular ending</comment>
        <translation>залишився</translation>
    </message>
    <message>
        <source>left</source>
        <comment>days, special ending</comment>
        <translation>залишилося</translation>
    </message>
    <message>
        <source>left</source>
        <comment>days, plural ending</comment>
        <translation>залишилося</translation>
    </message>
    <message>
        <source>left</source>
        <comment>hours, singular ending</comment>
        <translation>залишилася</translation>
    </message>
    <message>
        <source>left</source>
        <comment>hours, special ending</comment>
        <translation>залишилося</translation>
    </message>
    <message>
        <source>left</source>
        <comment>hours, plural ending</comment>
        <translation>залишилося</translation>
    </message>
    <message>
        <source>left</source>
        <comment>minutes, singular ending</comment>
        <translation>залишилася</translation>
    </message>
    <message>
        <source>left</source>
        <comment>minutes, special ending</comment>
        <translation>залишилося</translation>
    </message>
    <message>
        <source>left</source>
        <comment>minutes, plural ending</comment>
        <translation>залишилося</translation>
    </message>
    <message>
        <source>[9]: the configuration was refused: %1</source>
        <translation>[9]: конфігурацію відхилено: %1</translation>
    </message>
</context>
<context>
    <name>RequestLog</name>
    <message>
        <source>Request to Kestrune server was sent: </source>
        <translation>Запит до сервера Kestrune надіслано: </translation>
    </message>
    <message>
        <source>Server reply on %0</source>
        <translation>Відповідь сервера на %0</translation>
    </message>
    <message>
        <source>&quot;declined&quot; server reply</source>
        <translation>сервер відповів &quot;declined&quot;</translation>
    </message>
    <message>
        <source>Unable to decode server reply</source>
        <translation>Не вдалося розібрати відповідь сервера</translation>
    </message>
    <message>
        <source>. Details:</source>
        <translation>. Подробиці:</translation>
    </message>
    <message>
        <source>Invalid subscription type</source>
        <translation>Неприпустимий тип підписки</translation>
    </message>
    <message>
        <source>Wrong server data</source>
        <translation>Неправильні дані сервера</translation>
    </message>
    <message>
        <source>There are SSL errors occurred during request to server. Details:</source>
        <translation>Під час запиту до сервера виникли помилки SSL. Подробиці:</translation>
    </message>
</context>
<context>
    <name>SettingsStore</name>
    <message>
        <source>App&apos;s settings saved in file: %0</source>
        <translation>Налаштування програми збережено у файл: %0</translation>
    </message>
    <message>
        <source>App&apos;s settings saving error: file %0 cannot be written (%1)</source>
        <translation>Помилка збереження налаштувань програми: не вдається записати файл %0 (%1)</translation>
    </message>
    <message>
        <source>App&apos;s settings file has lines that cannot be read, a copy is kept in file: %0</source>
        <translation>У файлі налаштувань програми є рядки, які не вдається прочитати, копію збережено у файлі: %0</translation>
    </message>
    <message>
        <source>App&apos;s settings loaded from file: %0</source>
        <translation>Налаштування програми завантажено з файлу: %0</translation>
    </message>
    <message>
        <source>App&apos;s settings saving error: invalid subscription type (%0)</source>
        <translation>Помилка збереження налаштувань програми: неприпустимий тип підписки (%0)</translation>
    </message>
    <message>
        <source>App&apos;s settings loading error: invalid subscription type (%0)</source>
        <translation>Помилка завантаження налаштувань програми: неприпустимий тип підписки (%0)</translation>
    </message>
    <message>
        <source>login data</source>
        <translation>дані входу</translation>
    </message>
    <message>
        <source>general</source>
        <translation>загальні</translation>
    </message>
    <message>
        <source>favorites</source>
        <translation>обране</translation>
    </message>
    <message>
        <source>last connection data</source>
        <translation>дані останнього підключення</translation>
    </message>
    <message>
        <source>VPN server&apos;s favorite IP</source>
        <translation>обраний IP VPN-сервера</translation>
    </message>
    <message>
        <source>app&apos;s language</source>
        <translation>мова програми</translation>
    </message>
    <message>
        <source>stat window</source>
        <translation>вікно статистики</translation>
    </message>
    <message>
        <source>last launched version</source>
        <translation>остання запущена версія</translation>
    </message>
    <message>
        <source>emergency addresses</source>
        <translation>резервні адреси</translation>
    </message>
    <message>
        <source>additional</source>
        <translation>додаткові</translation>
    </message>
</context>
<context>
    <name>ShadowsocksProcess</name>
    <message>
        <source>[Shadowsocks]: already running, not started again</source>
        <translation>[Shadowsocks]: уже запущено, повторний запуск не виконується</translation>
    </message>
    <message>
        <source>[Shadowsocks]: process successfully stopped</source>
        <translation>[Shadowsocks]: процес успішно зупинено</translation>
    </message>
    <message>
        <source>[Shadowsocks]: process stopping error</source>
        <translation>[Shadowsocks]: помилка зупинки процесу</translation>
    </message>
    <message>
        <source>[Shadowsocks]: %1</source>
        <translation>[Shadowsocks]: %1</translation>
    </message>
    <message>
        <source>[Shadowsocks]: an error occurred. Stopping...</source>
        <translation>[Shadowsocks]: сталася помилка. Зупинка...</translation>
    </message>
    <message>
        <source>[Shadowsocks]: state changed to running</source>
        <translation>[Shadowsocks]: стан змінено на «працює»</translation>
    </message>
    <message>
        <source>[Shadowsocks]: state changed to stopped</source>
        <translation>[Shadowsocks]: стан змінено на «зупинено»</translation>
    </message>
</context>
<context>
    <name>SlidingButton</name>
    <message>
        <source>Form</source>
        <translation>Форма</translation>
    </message>
    <message>
        <source>Left Value</source>
        <translation>Ліве значення</translation>
    </message>
    <message>
        <source>Right Value</source>
        <translation>Праве значення</translation>
    </message>
    <message>
        <source>PushButton</source>
        <translation>Кнопка</translation>
    </message>
</context>
<context>
    <name>StatWidget</name>
    <message>
        <source>StatWidget</source>
        <translation>Статистика</translation>
    </message>
    <message>
        <source>Time:</source>
        <translation>Час:</translation>
    </message>
    <message>
        <source>0 s</source>
        <translation>0 с</translation>
    </message>
    <message>
        <source>Speed</source>
        <translation>Швидкість</translation>
    </message>
    <message>
        <source>Download:</source>
        <translation>Завантаження:</translation>
    </message>
    <message>
        <source>0 b/s</source>
        <translation>0 біт/с</translation>
    </message>
    <message>
        <source>Upload:</source>
        <translation>Вивантаження:</translation>
    </message>
    <message>
        <source>Traffic</source>
        <translation>Трафік</translation>
    </message>
    <message>
        <source>In:</source>
        <translation>Отримано:</translation>
    </message>
    <message>
        <source>0 B</source>
        <translation>0 Б</translation>
    </message>
    <message>
        <source>Out:</source>
        <translation>Надіслано:</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Закрити</translation>
    </message>
</context>
<context>
    <name>VPNServerItem</name>
    <message>
        <source>Favorite</source>
        <translation>Обране</translation>
    </message>
</context>
<context>
    <name>VPNProcess</name>
    <message>
        <source>[OpenVPN]: cannot start %1</source>
        <translation>[OpenVPN]: не вдається запустити %1</translation>
    </message>
    <message>
        <source>Shutting down another active openvpn process</source>
        <translation>Завершення іншого активного процесу OpenVPN</translation>
    </message>
    <message>
        <source>[OpenVPN]: state changed to running</source>
        <translation>[OpenVPN]: стан змінено на «працює»</translation>
    </message>
    <message>
        <source>[OpenVPN]: state changed to stopped</source>
        <translation>[OpenVPN]: стан змінено на «зупинено»</translation>
    </message>
    <message>
        <source>[OpenVPN]: management interface did not answer</source>
        <translation>[OpenVPN]: інтерфейс керування не відповів</translation>
    </message>
</context>
</TS>
