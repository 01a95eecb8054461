<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ru_RU">
<context>
    <name>ApiRequestBuilder</name>
    <message>
        <source>auth key for server [1]</source>
        <translation>ключ авторизации для сервера [1]</translation>
    </message>
    <message>
        <source>user&apos;s authorization [2]</source>
        <translation>авторизация пользователя [2]</translation>
    </message>
    <message>
        <source>additional authorization support [3]</source>
        <translation>дополнительная проверка авторизации [3]</translation>
    </message>
    <message>
        <source>user&apos;s subscriptions [4]</source>
        <translation>подписки пользователя [4]</translation>
    </message>
    <message>
        <source>available VPN server list (premium/free sub) [5]</source>
        <translation>список доступных VPN-серверов (премиум/бесплатная подписка) [5]</translation>
    </message>
    <message>
        <source>available VPN server list (double sub) [6]</source>
        <translation>список доступных VPN-серверов (двойная подписка) [6]</translation>
    </message>
    <message>
        <source> user&apos;s original IP [7]</source>
        <translation> исходный IP пользователя [7]</translation>
    </message>
    <message>
        <source>openvpn configuration for VPN connection [9]</source>
        <translation>конфигурация OpenVPN для VPN-подключения [9]</translation>
    </message>
    <message>
        <source>user&apos;s IP througth VPN connection [8]</source>
        <translation>IP пользователя через VPN-подключение [8]</translation>
    </message>
    <message>
        <source> server&apos;s availability on default address [11]</source>
        <translation> доступность сервера по основному адресу [11]</translation>
    </message>
    <message>
        <source> mirror tool config [10]</source>
        <translation> конфигурация инструмента зеркала [10]</translation>
    </message>
    <message>
        <source>[9]: VPN Server info: %0, %1 (IP: %2, Protocol: %3)</source>
        <translation>[9]: Данные VPN-сервера: %0, %1 (IP: %2, протокол: %3)</translation>
    </message>
</context>
<context>
    <name>DiagnosisVerdict</name>
    <message>
        <source>No network: this computer has no route to the Internet, and nothing answers.</source>
        <translation>Нет сети: у этого компьютера нет маршрута в Интернет, и ничто не отвечает.</translation>
    </message>
    <message>
        <source>The service is blocked: its API cannot be reached on either address.</source>
        <translation>Сервис заблокирован: его API недоступен ни по одному из адресов.</translation>
    </message>
    <message>
        <source>The server does not answer: it may be down. Choose another server.</source>
        <translation>Сервер не отвечает: возможно, он не работает. Выберите другой сервер.</translation>
    </message>
    <message>
        <source>UDP is blocked, TCP works: this network lets the server through on TCP only.</source>
        <translation>UDP заблокирован, TCP работает: эта сеть пропускает соединение с сервером только по TCP.</translation>
    </message>
    <message>
        <source>The network blocks VPN connections; the mirror route works.</source>
        <translation>Сеть блокирует VPN-подключения; маршрут через зеркало работает.</translation>
    </message>
    <message>
        <source>The server answers but refuses the account or the keys.</source>
        <translation>Сервер отвечает, но отклоняет учётную запись или ключи.</translation>
    </message>
    <message>
        <source>The connection did not come up, and the cause could not be found.</source>
        <translation>Подключение не установлено, и причину найти не удалось.</translation>
    </message>
    <message>
        <source>Choose another server</source>
        <translation>Выбрать другой сервер</translation>
    </message>
    <message>
        <source>Use TCP</source>
        <translation>Использовать TCP</translation>
    </message>
    <message>
        <source>Use the mirror route</source>
        <translation>Использовать маршрут через зеркало</translation>
    </message>
</context>
<context>
    <name>DiagnosticsDialog</name>
    <message>
        <source>The archive would exceed %1 MB.</source>
        <translation>Архив превысил бы %1 МБ.</translation>
    </message>
    <message>
        <source>Hide my addresses</source>
        <translation>Скрыть мои адреса</translation>
    </message>
    <message>
        <source>Collecting diagnostics…</source>
        <translation>Сбор диагностических данных…</translation>
    </message>
    <message>
        <source>Save diagnostics</source>
        <translation>Сохранить диагностику</translation>
    </message>
    <message>
        <source>The archive holds the files below. Passwords, keys and your home folder are removed; nothing is sent anywhere.</source>
        <translation>Архив содержит перечисленные ниже файлы. Пароли, ключи и путь к вашей домашней папке удалены; ничего никуда не отправляется.</translation>
    </message>
    <message>
        <source>File</source>
        <translation>Файл</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>Размер</translation>
    </message>
    <message>
        <source>Files in the archive</source>
        <translation>Файлы в архиве</translation>
    </message>
    <message>
        <source>Public addresses other than the VPN servers&apos; are replaced in every file.</source>
        <translation>Публичные адреса, кроме адресов VPN-серверов, заменяются во всех файлах.</translation>
    </message>
    <message numerus="yes">
        <source>%n file(s), %1 before compression; the archive holds at most %2.</source>
        <translation>
            <numerusform>%n файл, %1 до сжатия; архив займёт не более %2.</numerusform>
            <numerusform>%n файла, %1 до сжатия; архив займёт не более %2.</numerusform>
            <numerusform>%n файлов, %1 до сжатия; архив займёт не более %2.</numerusform>
        </translation>
    </message>
    <message>
        <source>The archive could not be saved: %1</source>
        <translation>Не удалось сохранить архив: %1</translation>
    </message>
</context>
<context>
    <name>LockSelfTest</name>
    <message>
        <source>The lock&apos;s helper is not installed: %1</source>
        <translation>Вспомогательная программа блокировки не установлена: %1</translation>
    </message>
    <message>
        <source>The lock&apos;s helper did not answer in time.</source>
        <translation>Вспомогательная программа блокировки не ответила вовремя.</translation>
    </message>
    <message>
        <source>The lock&apos;s helper gave no result: %1</source>
        <translation>Вспомогательная программа блокировки не вернула результат: %1</translation>
    </message>
    <message>
        <source>The lock&apos;s rules are loaded and unchanged</source>
        <translation>Правила блокировки загружены и не изменены</translation>
    </message>
    <message>
        <source>Connections outside the VPN are refused</source>
        <translation>Подключения в обход VPN отклоняются</translation>
    </message>
    <message>
        <source>Blocked packets</source>
        <translation>Заблокированные пакеты</translation>
    </message>
    <message>
        <source>Loopback and the VPN server are let through</source>
        <translation>Петлевой интерфейс и VPN-сервер пропускаются</translation>
    </message>
    <message>
        <source>passed</source>
        <translation>пройдена</translation>
    </message>
    <message>
        <source>FAILED</source>
        <translation>НЕ ПРОЙДЕНА</translation>
    </message>
    <message>
        <source>no answer</source>
        <translation>нет ответа</translation>
    </message>
    <message>
        <source>Apply the lock again (switch it off and on in Settings), or use the emergency unblock.</source>
        <translation>Примените блокировку заново (выключите и включите её в настройках) или воспользуйтесь аварийной разблокировкой.</translation>
    </message>
</context>
<context>
    <name>LockSelfTestDialog</name>
    <message>
        <source>Testing the network lock…</source>
        <translation>Проверка блокировки сети…</translation>
    </message>
    <message>
        <source>Test network lock</source>
        <translation>Проверить блокировку сети</translation>
    </message>
    <message>
        <source>Results of the network lock test</source>
        <translation>Результаты проверки блокировки сети</translation>
    </message>
    <message>
        <source>The network lock works: every check passed.</source>
        <translation>Блокировка сети работает: все проверки пройдены.</translation>
    </message>
    <message>
        <source>The network lock does not work as it should.</source>
        <translation>Блокировка сети работает не так, как должна.</translation>
    </message>
</context>
<context>
    <name>Loger</name>
    <message>
        <source>Application started</source>
        <translation>Приложение запущено</translation>
    </message>
    <message>
        <source>Log file closed</source>
        <translation>Файл журнала закрыт</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Applying special option: </source>
        <translation>Применение специального параметра: </translation>
    </message>
    <message>
        <source>lock network on VPN disconnect (on)...</source>
        <translation>блокировка сети при отключении VPN (вкл.)...</translation>
    </message>
    <message>
        <source>lock network on VPN disconnect (off)...</source>
        <translation>блокировка сети при отключении VPN (выкл.)...</translation>
    </message>
    <message>
        <source>lock network on VPN disconnect (emergency unblock)...</source>
        <translation>блокировка сети при отключении VPN (аварийная разблокировка)...</translation>
    </message>
    <message>
        <source>startup on system logon (on)...</source>
        <translation>автозапуск при входе в систему (вкл.)...</translation>
    </message>
    <message>
        <source>startup on system logon (off)...</source>
        <translation>автозапуск при входе в систему (выкл.)...</translation>
    </message>
    <message>
        <source>success</source>
        <translation>успешно</translation>
    </message>
    <message>
        <source>failed</source>
        <translation>ошибка</translation>
    </message>
    <message>
        <source> switching on.</source>
        <translation> включение.</translation>
    </message>
    <message>
        <source> switching off.</source>
        <translation> выключение.</translation>
    </message>
    <message>
        <source>Settings applying: &quot;Block network without VPN connection&quot; switched on: %0</source>
        <translation>Применение настроек: &quot;Блокировать сеть без VPN-подключения&quot; включено: %0</translation>
    </message>
    <message>
        <source>Settings applying: &quot;Block network without VPN connection&quot; switched off: %0</source>
        <translation>Применение настроек: &quot;Блокировать сеть без VPN-подключения&quot; выключено: %0</translation>
    </message>
    <message>
        <source>Settings applying: &quot;Block network without VPN connection&quot; emergency unblock: %0</source>
        <translation>Применение настроек: &quot;Блокировать сеть без VPN-подключения&quot; аварийная разблокировка: %0</translation>
    </message>
    <message>
        <source>Settings applying: add program to system startup: %0</source>
        <translation>Применение настроек: добавление программы в автозапуск: %0</translation>
    </message>
    <message>
        <source>Settings applying: remove program from system startup: %0</source>
        <translation>Применение настроек: удаление программы из автозапуска: %0</translation>
    </message>
    <message>
        <source>User logged out (account: %0)</source>
        <translation>Пользователь вышел из учётной записи (аккаунт: %0)</translation>
    </message>
    <message>
        <source>Log out</source>
        <translation>Выйти</translation>
    </message>
    <message>
        <source>Remember me</source>
        <translation>Запомнить меня</translation>
    </message>
    <message>
        <source>&lt;a href=&quot;%0/en/password-remind&quot;&gt;&lt;span style=&quot; color:#5f5f5f; font-size: 9px;&quot;&gt;Forgot password?&lt;/span&gt;&lt;/a&gt;</source>
        <translation>&lt;a href=&quot;%0/en/password-remind&quot;&gt;&lt;span style=&quot; color:#5f5f5f; font-size: 9px;&quot;&gt;Забыли пароль?&lt;/span&gt;&lt;/a&gt;</translation>
    </message>
    <message>
        <source>SIGN IN</source>
        <translation>ВОЙТИ</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p style=&quot; line-height: 17px; color:#5f5f5f; font-size: 9px;&quot;&gt;To sign in you need &lt;a href=&quot;%0/en/signup&quot;&gt;&lt;span style=&quot; text-decoration: underline; color:#5f5f5f;&quot;&gt;to register&lt;/span&gt;&lt;/a&gt; on site&lt;br&gt;and &lt;a href=&quot;%0/en/panel/package/buy&quot;&gt;&lt;span style=&quot; text-decoration: underline; color:#5f5f5f;&quot;&gt;buy subscription&lt;/span&gt;&lt;/a&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p style=&quot; line-height: 17px; color:#5f5f5f; font-size: 9px;&quot;&gt;Для входа необходимо &lt;a href=&quot;%0/en/signup&quot;&gt;&lt;span style=&quot; text-decoration: underline; color:#5f5f5f;&quot;&gt;зарегистрироваться&lt;/span&gt;&lt;/a&gt; на сайте&lt;br&gt;и &lt;a href=&quot;%0/en/panel/package/buy&quot;&gt;&lt;span style=&quot; text-decoration: underline; color:#5f5f5f;&quot;&gt;купить подписку&lt;/span&gt;&lt;/a&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>Authorization</source>
        <translation>Авторизация</translation>
    </message>
    <message>
        <source>&lt;p&gt;&lt;span style=&quot; font-size:13px;&quot;&gt;Loading packages&lt;/span&gt;&lt;span style=&quot; color:rgba(0,0,0,0);&quot;&gt;.&lt;/span&gt;&lt;span style=&quot; color:rgba(0,0,0,0);&quot;&gt;.&lt;/span&gt;&lt;span style=&quot; color:rgba(0,0,0,0);&quot;&gt;.&lt;/span&gt;&lt;/p&gt;</source>
        <translation>&lt;p&gt;&lt;span style=&quot; font-size:13px;&quot;&gt;Загрузка пакетов&lt;/span&gt;&lt;span style=&quot; color:rgba(0,0,0,0);&quot;&gt;.&lt;/span&gt;&lt;span style=&quot; color:rgba(0,0,0,0);&quot;&gt;.&lt;/span&gt;&lt;span style=&quot; color:rgba(0,0,0,0);&quot;&gt;.&lt;/span&gt;&lt;/p&gt;</translation>
    </message>
    <message>
        <source>Select subscription:</source>
        <translation>Выберите подписку:</translation>
    </message>
    <message>
        <source>NEXT</source>
        <translation>ДАЛЕЕ</translation>
    </message>
    <message>
        <source>Back</source>
        <translation>Назад</translation>
    </message>
    <message>
        <source>change</source>
        <translation>изменить</translation>
    </message>
    <message>
        <source>VPN disabled</source>
        <translation>VPN выключен</translation>
    </message>
    <message>
        <source>Active:</source>
        <translation>Подключено:</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;span style=&quot; font-size:13px;&quot;&gt;Connecting...&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;span style=&quot; font-size:13px;&quot;&gt;Подключение...&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>&lt;p&gt;&lt;span style=&quot; font-size:13px;&quot;&gt;Checking servers&lt;/span&gt;&lt;/p&gt;</source>
        <translation>&lt;p&gt;&lt;span style=&quot; font-size:13px;&quot;&gt;Проверка серверов&lt;/span&gt;&lt;/p&gt;</translation>
    </message>
    <message>
        <source>SWITCH OFF VPN</source>
        <translation>ОТКЛЮЧИТЬ VPN</translation>
    </message>
    <message>
        <source>AUTO SELECT</source>
        <translation>АВТОВЫБОР</translation>
    </message>
    <message>
        <source>CHOOSE SERVER</source>
        <translation>ВЫБРАТЬ СЕРВЕР</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p style=&quot; line-height: 17px; color:#5f5f5f; font-size: 9px;&quot;&gt;&lt;span&gt;&amp;quot;Auto select&amp;quot; mode connects you to the &lt;br&gt;fastest VPN location at the moment&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p style=&quot; line-height: 17px; color:#5f5f5f; font-size: 9px;&quot;&gt;&lt;span&gt;Режим &amp;quot;Автовыбор&amp;quot; подключает вас к &lt;br&gt;самой быстрой VPN-локации на данный момент&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>CONNECT</source>
        <translation>ПОДКЛЮЧИТЬ</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;span style=&quot; font-size:24px;&quot;&gt;Information&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;span style=&quot; font-size:24px;&quot;&gt;Информация&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>Protocol:</source>
        <translation>Протокол:</translation>
    </message>
    <message>
        <source>Location:</source>
        <translation>Локация:</translation>
    </message>
    <message>
        <source>New IP:</source>
        <translation>Новый IP:</translation>
    </message>
    <message>
        <source>Original IP:</source>
        <translation>Исходный IP:</translation>
    </message>
    <message>
        <source>Time:</source>
        <translation>Время:</translation>
    </message>
    <message>
        <source>Speed</source>
        <translation>Скорость</translation>
    </message>
    <message>
        <source>Download:</source>
        <translation>Загрузка:</translation>
    </message>
    <message>
        <source>0 b/s</source>
        <translation>0 бит/с</translation>
    </message>
    <message>
        <source>Upload:</source>
        <translation>Отдача:</translation>
    </message>
    <message>
        <source>Traffic</source>
        <translation>Трафик</translation>
    </message>
    <message>
        <source>In:</source>
        <translation>Получено:</translation>
    </message>
    <message>
        <source>0 B</source>
        <translation>0 Б</translation>
    </message>
    <message>
        <source>Out:</source>
        <translation>Отправлено:</translation>
    </message>
    <message>
        <source>Change IP:</source>
        <translation>Сменить IP:</translation>
    </message>
    <message>
        <source>RECONNECT</source>
        <translation>ПЕРЕПОДКЛЮЧИТЬ</translation>
    </message>
    <message>
        <source>Select first server:</source>
        <translation>Выберите первый сервер:</translation>
    </message>
    <message>
        <source>Select second server:</source>
        <translation>Выберите второй сервер:</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p align=&quot;center&quot; style=&quot; line-height: 20px;&quot;&gt;&lt;span style=&quot; font-size:13px; color:#5f5f5f;&quot;&gt;Version %0&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p align=&quot;center&quot; style=&quot; line-height: 20px;&quot;&gt;&lt;span style=&quot; font-size:13px; color:#5f5f5f;&quot;&gt;Версия %0&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>&lt;Not connected&gt;</source>
        <translation>&lt;Не подключено&gt;</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;span style=&quot; font-size: 24px;&quot;&gt;Settings&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;span style=&quot; font-size: 24px;&quot;&gt;Настройки&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>Lock network if VPN disconnected:</source>
        <translation>Блокировать сеть без VPN:</translation>
    </message>
    <message>
        <source>Autoconnect to VPN with startup:</source>
        <translation>Подключаться к VPN при запуске:</translation>
    </message>
    <message>
        <source>Start minimized:</source>
        <translation>Запускать свёрнутым:</translation>
    </message>
    <message>
        <source>Language:</source>
        <translation>Язык:</translation>
    </message>
    <message>
        <source>Show stats window on VPN connect:</source>
        <translation>Окно статистики при подключении:</translation>
    </message>
    <message>
        <source>Autostart on system logon:</source>
        <translation>Запускать при входе в систему:</translation>
    </message>
    <message>
        <source>Check servers for availability:</source>
        <translation>Проверять доступность серверов:</translation>
    </message>
    <message>
        <source>Enable DNS leak protection:</source>
        <translation>Защита от утечки DNS:</translation>
    </message>
    <message>
        <source>VPN log</source>
        <translation>Журнал VPN</translation>
    </message>
    <message>
        <source>Program log</source>
        <translation>Журнал программы</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p style=&quot; line-height: 17px; color:#5f5f5f; font-size: 9px;&quot;&gt;&lt;span &gt;Settings will be applied on&lt;/span&gt;&lt;br&gt;&lt;span&gt;&quot;BACK&quot; clicked&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p style=&quot; line-height: 17px; color:#5f5f5f; font-size: 9px;&quot;&gt;&lt;span &gt;Настройки будут применены&lt;/span&gt;&lt;br&gt;&lt;span&gt;при нажатии «Назад»&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>&lt;p style=&quot;font-size: 11px;&quot;&gt;Applying settings&lt;span style=&quot; color:rgba(0,0,0,0);&quot;&gt;.&lt;/span&gt;&lt;span style=&quot; color:rgba(0,0,0,0);&quot;&gt;.&lt;/span&gt;&lt;span style=&quot; color:rgba(0,0,0,0);&quot;&gt;.&lt;/span&gt;&lt;/p&gt;</source>
        <translation>&lt;p style=&quot;font-size: 11px;&quot;&gt;Применение настроек&lt;span style=&quot; color:rgba(0,0,0,0);&quot;&gt;.&lt;/span&gt;&lt;span style=&quot; color:rgba(0,0,0,0);&quot;&gt;.&lt;/span&gt;&lt;span style=&quot; color:rgba(0,0,0,0);&quot;&gt;.&lt;/span&gt;&lt;/p&gt;</translation>
    </message>
    <message>
        <source>This package has been paused</source>
        <translation>Этот пакет приостановлен</translation>
    </message>
    <message>
        <source>This package has been expired</source>
        <translation>Срок действия этого пакета истёк</translation>
    </message>
    <message>
        <source>Servers</source>
        <translation>Серверы</translation>
    </message>
    <message>
        <source>Favorites</source>
        <translation>Избранное</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>Копировать</translation>
    </message>
    <message>
        <source>Main window is visible</source>
        <translation>Главное окно отображается</translation>
    </message>
    <message>
        <source>Main window is now hidden</source>
        <translation>Главное окно скрыто</translation>
    </message>
    <message>
        <source>Unable to get list of subscriptions.</source>
        <translation>Не удалось получить список подписок.</translation>
    </message>
    <message>
        <source>Unable to get list of servers.</source>
        <translation>Не удалось получить список серверов.</translation>
    </message>
    <message>
        <source>Unable to get list of servers for double subscription.</source>
        <translation>Не удалось получить список серверов для двойной подписки.</translation>
    </message>
    <message>
        <source>Unable to get Shadowsocks config file.</source>
        <translation>Не удалось получить файл конфигурации Shadowsocks.</translation>
    </message>
    <message>
        <source>Unable to get OpenVPN config file.</source>
        <translation>Не удалось получить файл конфигурации OpenVPN.</translation>
    </message>
    <message>
        <source>Unable to get your IP before VPN connection.</source>
        <translation>Не удалось определить ваш IP до подключения к VPN.</translation>
    </message>
    <message>
        <source>Unable to get your new IP througth VPN connection.</source>
        <translation>Не удалось определить ваш новый IP через VPN-подключение.</translation>
    </message>
    <message>
        <source>Log is switched off or file does not exists.</source>
        <translation>Журнал отключён или файл не существует.</translation>
    </message>
    <message>
        <source>Unsupported subscription type.</source>
        <translation>Неподдерживаемый тип подписки.</translation>
    </message>
    <message>
        <source>IP before and after VPN connection establishment are equal.</source>
        <translation>IP до и после установления VPN-подключения совпадают.</translation>
    </message>
    <message>
        <source>Unable to apply following setting:&lt;br&gt;%0</source>
        <translation>Не удалось применить настройку:&lt;br&gt;%0</translation>
    </message>
    <message>
        <source>Application is running already.</source>
        <translation>Приложение уже запущено.</translation>
    </message>
    <message>
        <source>Additional tool install/check error. Unable to proceed.</source>
        <translation>Ошибка установки или проверки дополнительного компонента. Продолжение невозможно.</translation>
    </message>
    <message>
        <source>Active VPN connection will be disconnected.&lt;br&gt;Proceed?</source>
        <translation>Активное VPN-подключение будет разорвано.&lt;br&gt;Продолжить?</translation>
    </message>
    <message>
        <source>Program will log out from account.&lt;br&gt;Proceed?</source>
        <translation>Программа выйдет из учётной записи.&lt;br&gt;Продолжить?</translation>
    </message>
    <message>
        <source>Block setting configures system components by special way.&lt;br&gt;&lt;br&gt;Please do not change or remove additional rules and/or options created by program in system components.&lt;br&gt;&lt;br&gt;Configuration interruption may lead to unblocking failure.&lt;br&gt;&lt;br&gt;Proceed?</source>
        <translation>Блокировка особым образом настраивает компоненты системы.&lt;br&gt;&lt;br&gt;Не изменяйте и не удаляйте дополнительные правила и/или параметры, созданные программой в компонентах системы.&lt;br&gt;&lt;br&gt;Прерывание настройки может привести к сбою разблокировки.&lt;br&gt;&lt;br&gt;Продолжить?</translation>
    </message>
    <message>
        <source>Error: authorization failed</source>
        <translation>Ошибка: не удалось войти</translation>
    </message>
    <message>
        <source>Error: unable to get subscriptions</source>
        <translation>Ошибка: не удалось получить подписки</translation>
    </message>
    <message>
        <source>Error: there are no active subscribtions</source>
        <translation>Ошибка: нет активных подписок</translation>
    </message>
    <message>
        <source>Error: unable to get list of available servers</source>
        <translation>Ошибка: не удалось получить список доступных серверов</translation>
    </message>
    <message>
        <source>Error: unable to establish VPN connection</source>
        <translation>Ошибка: не удалось установить VPN-подключение</translation>
    </message>
    <message>
        <source>VPN connection established
Original IP: %0
New IP: %1</source>
        <translation>VPN-подключение установлено
Исходный IP: %0
Новый IP: %1</translation>
    </message>
    <message>
        <source>VPN disconnected</source>
        <translation>VPN отключён</translation>
    </message>
    <message>
        <source>VPN not connected</source>
        <translation>VPN не подключён</translation>
    </message>
    <message>
        <source>VPN is connecting...</source>
        <translation>VPN подключается...</translation>
    </message>
    <message>
        <source>VPN connected</source>
        <translation>VPN подключён</translation>
    </message>
    <message>
        <source>VPN is disconnecting...</source>
        <translation>VPN отключается...</translation>
    </message>
    <message>
        <source>Error code: %0&lt;br&gt;</source>
        <translation>Код ошибки: %0&lt;br&gt;</translation>
    </message>
    <message>
        <source>New language will be applied after restart.</source>
        <translation>Новый язык будет применён после перезапуска.</translation>
    </message>
    <message>
        <source>Subscription &quot;%0&quot; will end %1.</source>
        <translation>Подписка &quot;%0&quot; закончится %1.</translation>
    </message>
    <message>
        <source>Update subscription</source>
        <translation>Продлить подписку</translation>
    </message>
    <message>
        <source>Following setting applied:&lt;br&gt;Lock network without VPN: unblocking&lt;br&gt;&lt;br&gt;Check your network connection. If you experiencing issues, use &lt;b&gt;Emergency unblock&lt;/b&gt;.</source>
        <translation>Применена настройка:&lt;br&gt;Блокировка сети без VPN: разблокировка&lt;br&gt;&lt;br&gt;Проверьте сетевое подключение. Если возникли проблемы, нажмите &lt;b&gt;Экстренная разблокировка&lt;/b&gt;.</translation>
    </message>
    <message>
        <source>Emergency unblock</source>
        <translation>Экстренная разблокировка</translation>
    </message>
    <message>
        <source>Uses Windows Firewall.

Blocking takes immediately effect on current and new network connections. Blocking continues after PC restart (normal/sudden). Blocking not depends on program state (running/closed).</source>
        <translation>Использует брандмауэр Windows.

Блокировка сразу действует на текущие и новые сетевые подключения. Блокировка сохраняется после перезагрузки ПК (обычной или внезапной). Блокировка не зависит от состояния программы (запущена или закрыта).</translation>
    </message>
    <message>
        <source>Don&apos;t show this message again</source>
        <translation>Больше не показывать это сообщение</translation>
    </message>
    <message>
        <source>Unable to get authorization key</source>
        <translation>Не удалось получить ключ авторизации</translation>
    </message>
    <message>
        <source>Authorization failed</source>
        <translation>Ошибка авторизации</translation>
    </message>
    <message>
        <source>Unable to get authorization support reply</source>
        <translation>Не удалось получить ответ дополнительной авторизации</translation>
    </message>
    <message>
        <source>Unable to get subscription list</source>
        <translation>Не удалось получить список подписок</translation>
    </message>
    <message>
        <source>Unable to get available VPN server list</source>
        <translation>Не удалось получить список доступных VPN-серверов</translation>
    </message>
    <message>
        <source>Unable to get VPN server list (double sub)</source>
        <translation>Не удалось получить список VPN-серверов (двойная подписка)</translation>
    </message>
    <message>
        <source>Unable to get user&apos;s original IP</source>
        <translation>Не удалось получить исходный IP пользователя</translation>
    </message>
    <message>
        <source>Unable to get openvpn configuration</source>
        <translation>Не удалось получить конфигурацию OpenVPN</translation>
    </message>
    <message>
        <source>Unable to get user&apos;s IP througth VPN connection</source>
        <translation>Не удалось получить IP пользователя через VPN-подключение</translation>
    </message>
    <message>
        <source>Unable to get mirror tool configuration</source>
        <translation>Не удалось получить конфигурацию инструмента зеркала</translation>
    </message>
    <message>
        <source>Request to Kestrune server was sent: </source>
        <translation>Запрос к серверу Kestrune отправлен: </translation>
    </message>
    <message>
        <source>Server reply on %0</source>
        <translation>Ответ сервера на %0</translation>
    </message>
    <message>
        <source>&quot;declined&quot; server reply</source>
        <translation>сервер ответил &quot;declined&quot;</translation>
    </message>
    <message>
        <source>Unable to decode server reply</source>
        <translation>Не удалось разобрать ответ сервера</translation>
    </message>
    <message>
        <source>. Details:</source>
        <translation>. Подробности:</translation>
    </message>
    <message>
        <source>Invalid subscription type</source>
        <translation>Недопустимый тип подписки</translation>
    </message>
    <message>
        <source>Wrong server data</source>
        <translation>Неверные данные сервера</translation>
    </message>
    <message>
        <source>There are SSL errors occurred during request to server. Details:</source>
        <translation>При запросе к серверу возникли ошибки SSL. Подробности:</translation>
    </message>
    <message>
        <source>auth key for server [1]</source>
        <translation>ключ авторизации для сервера [1]</translation>
    </message>
    <message>
        <source>user&apos;s authorization [2]</source>
        <translation>авторизация пользователя [2]</translation>
    </message>
    <message>
        <source>additional authorization support [3]</source>
        <translation>дополнительная проверка авторизации [3]</translation>
    </message>
    <message>
        <source>user&apos;s subscriptions [4]</source>
        <translation>подписки пользователя [4]</translation>
    </message>
    <message>
        <source>available VPN server list (premium/free sub) [5]</source>
        <translation>список доступных VPN-серверов (премиум/бесплатная подписка) [5]</translation>
    </message>
    <message>
        <source>available VPN server list (double sub) [6]</source>
        <translation>список доступных VPN-серверов (двойная подписка) [6]</translation>
    </message>
    <message>
        <source> user&apos;s original IP [7]</source>
        <translation> исходный IP пользователя [7]</translation>
    </message>
    <message>
        <source>openvpn configuration for VPN connection [9]</source>
        <translation>конфигурация OpenVPN для VPN-подключения [9]</translation>
    </message>
    <message>
        <source>user&apos;s IP througth VPN connection [8]</source>
        <translation>IP пользователя через VPN-подключение [8]</translation>
    </message>
    <message>
        <source> server&apos;s availability on default address [11]</source>
        <translation> доступность сервера по основному адресу [11]</translation>
    </message>
    <message>
        <source> mirror tool config [10]</source>
        <translation> конфигурация инструмента зеркала [10]</translation>
    </message>
    <message>
        <source>[9]: VPN Server info: %0, %1 (IP: %2, Protocol: %3)</source>
        <translation>[9]: Данные VPN-сервера: %0, %1 (IP: %2, протокол: %3)</translation>
    </message>
    <message>
        <source>&lt;not selected&gt;</source>
        <translation>&lt;не выбран&gt;</translation>
    </message>
    <message>
        <source>&lt;p&gt;&lt;span style=&quot;font-size:13px;&quot;&gt;Checking servers (%0/%1)&lt;/span&gt;&lt;/p&gt;</source>
        <translation>&lt;p&gt;&lt;span style=&quot;font-size:13px;&quot;&gt;Проверка серверов (%0/%1)&lt;/span&gt;&lt;/p&gt;</translation>
    </message>
    <message>
        <source>Availability check finished, %0 of %1 servers are reachable</source>
        <translation>Проверка доступности завершена, доступно серверов: %0 из %1</translation>
    </message>
    <message>
        <source>Servers or favorites</source>
        <translation>Серверы или избранное</translation>
    </message>
    <message>
        <source>Favorite pair</source>
        <translation>Избранная пара</translation>
    </message>
    <message>
        <source>All locations</source>
        <translation>Все локации</translation>
    </message>
    <message>
        <source>Favorite locations</source>
        <translation>Избранные локации</translation>
    </message>
    <message>
        <source>Favorite pairs</source>
        <translation>Избранные пары</translation>
    </message>
    <message>
        <source>[10]: dropped %1 more members of the mirror tool configuration</source>
        <translation>[10]: из конфигурации инструмента зеркала удалено ещё элементов: %1</translation>
    </message>
    <message>
        <source>[10]: missing or unusable member &quot;%1&quot; in the mirror tool configuration</source>
        <translation>[10]: в конфигурации инструмента зеркала отсутствует или непригоден элемент &quot;%1&quot;</translation>
    </message>
    <message>
        <source>Stopping VPN connection</source>
        <translation>Остановка VPN-подключения</translation>
    </message>
    <message>
        <source>Interrupt connection status detected. Cancelation reply processing</source>
        <translation>Обнаружено прерывание подключения. Обработка ответа отменена</translation>
    </message>
    <message>
        <source>Real IP received</source>
        <translation>Получен реальный IP</translation>
    </message>
    <message>
        <source>Unable to save openvpn configuration in file</source>
        <translation>Не удалось сохранить конфигурацию openvpn в файл</translation>
    </message>
    <message>
        <source>openvpn configuration has been successfully saved in file</source>
        <translation>конфигурация openvpn успешно сохранена в файл</translation>
    </message>
    <message>
        <source>Initializing VPN connection</source>
        <translation>Инициализация VPN-подключения</translation>
    </message>
    <message>
        <source>retrying network request (retry: %0)</source>
        <translation>повтор сетевого запроса (попытка: %0)</translation>
    </message>
    <message>
        <source>User&apos;s IP through VPN connection received</source>
        <translation>Получен IP пользователя через VPN-подключение</translation>
    </message>
    <message>
        <source>User&apos;s IP before and after VPN connection establishment are equal</source>
        <translation>IP пользователя до и после установки VPN-подключения совпадают</translation>
    </message>
    <message>
        <source>expired</source>
        <translation>истекла</translation>
    </message>
    <message>
        <source>openvpn process closed</source>
        <translation>процесс openvpn завершён</translation>
    </message>
    <message>
        <source>auto select</source>
        <translation>автовыбор</translation>
    </message>
    <message>
        <source>unknown</source>
        <translation>неизвестно</translation>
    </message>
    <message>
        <source>&lt;p style=&quot; color:#ff0000; font-size: 13px;&quot;&gt;&lt;span&gt;Unable to connect.&lt;/span&gt;&lt;a href=&quot;file:///</source>
        <translation>&lt;p style=&quot; color:#ff0000; font-size: 13px;&quot;&gt;&lt;span&gt;Не удалось подключиться.&lt;/span&gt;&lt;a href=&quot;file:///</translation>
    </message>
    <message>
        <source>&quot;&gt;&lt;br&gt;&lt;span style=&quot; font-size: 13px; text-decoration: underline; color:#ff0000;&quot;&gt;View log&lt;/span&gt;&lt;/a&gt;&lt;/p&gt;</source>
        <translation>&quot;&gt;&lt;br&gt;&lt;span style=&quot; font-size: 13px; text-decoration: underline; color:#ff0000;&quot;&gt;Открыть журнал&lt;/span&gt;&lt;/a&gt;&lt;/p&gt;</translation>
    </message>
    <message>
        <source>Connecting</source>
        <translation>Подключение</translation>
    </message>
    <message>
        <source>Disconnecting</source>
        <translation>Отключение</translation>
    </message>
    <message>
        <source>ABORT</source>
        <translation>ОТМЕНА</translation>
    </message>
    <message>
        <source>Disconnect VPN</source>
        <translation>Отключить VPN</translation>
    </message>
    <message>
        <source>Connect VPN (%0)</source>
        <translation>Подключить VPN (%0)</translation>
    </message>
    <message>
        <source>App version: KS %0, OS: %2 %3 (version %4),</source>
        <translation>Версия приложения: KS %0, ОС: %2 %3 (версия %4),</translation>
    </message>
    <message>
        <source>OpenVPN version: %0, screen resolution: %1 on %2 pixels</source>
        <translation>Версия OpenVPN: %0, разрешение экрана: %1 на %2 пикселей</translation>
    </message>
    <message>
        <source>Installed OpenVPN version (%0) incompatible with app.&lt;br&gt;Please install OpenVPN 2.3.x or 2.4.x.</source>
        <translation>Установленная версия OpenVPN (%0) несовместима с приложением.&lt;br&gt;Установите OpenVPN 2.3.x или 2.4.x.</translation>
    </message>
    <message>
        <source>Main window created</source>
        <translation>Главное окно создано</translation>
    </message>
    <message>
        <source>[11]: Trying reconnect to emergency address</source>
        <translation>[11]: Попытка переподключения к резервному адресу</translation>
    </message>
    <message>
        <source>Server Mirror Configuration needed: %0</source>
        <translation>Требуется конфигурация зеркала сервера: %0</translation>
    </message>
    <message>
        <source>yes</source>
        <translation>да</translation>
    </message>
    <message>
        <source>no</source>
        <translation>нет</translation>
    </message>
    <message>
        <source>Server Mirror Configuration disabled: Shadowsocks component not found.</source>
        <translation>Конфигурация зеркала сервера отключена: компонент Shadowsocks не найден.</translation>
    </message>
    <message>
        <source>Shadowsocks component not found.&lt;br&gt;Server mirror configurations are disabled.</source>
        <translation>Компонент Shadowsocks не найден.&lt;br&gt;Конфигурации зеркал серверов отключены.</translation>
    </message>
    <message>
        <source>[WARNING]: server mirror configuration required TCP protocol only</source>
        <translation>[WARNING]: конфигурация зеркала сервера требует только протокол TCP</translation>
    </message>
    <message>
        <source>[10]: dropped member &quot;%1&quot; of the mirror tool configuration</source>
        <translation>[10]: из конфигурации инструмента зеркала удалён элемент &quot;%1&quot;</translation>
    </message>
    <message>
        <source>Unable to save mirror tool configuration in file</source>
        <translation>Не удалось сохранить конфигурацию инструмента зеркала в файл</translation>
    </message>
    <message>
        <source>mirror tool configuration has been saved in file</source>
        <translation>конфигурация инструмента зеркала сохранена в файл</translation>
    </message>
    <message>
        <source>Application is shutting down</source>
        <translation>Приложение завершает работу</translation>
    </message>
    <message>
        <source>[5]: VPN server list received. Server count: %0</source>
        <translation>[5]: Получен список VPN-серверов. Количество серверов: %0</translation>
    </message>
    <message>
        <source>App&apos;s settings saving error: no server selected (%0)</source>
        <translation>Ошибка сохранения настроек приложения: сервер не выбран (%0)</translation>
    </message>
    <message>
        <source>Sign-in not started: no service address</source>
        <translation>Вход не начат: нет адреса сервиса</translation>
    </message>
    <message>
        <source>Server not reachable.</source>
        <translation>Сервер недоступен.</translation>
    </message>
    <message>
        <source>Incorrect server reply.</source>
        <translation>Некорректный ответ сервера.</translation>
    </message>
    <message>
        <source>Server declined authorization request</source>
        <translation>Сервер отклонил запрос авторизации</translation>
    </message>
    <message>
        <source>[1]: Authorization key received</source>
        <translation>[1]: Получен ключ авторизации</translation>
    </message>
    <message>
        <source>Server declined authorization request.</source>
        <translation>Сервер отклонил запрос авторизации.</translation>
    </message>
    <message>
        <source>[2]: Authorization completed (account: %0)</source>
        <translation>[2]: Авторизация завершена (аккаунт: %0)</translation>
    </message>
    <message>
        <source>[4]: Subscription list received. Subscription count: %0</source>
        <translation>[4]: Получен список подписок. Количество подписок: %0</translation>
    </message>
    <message>
        <source>[4]: Authorization completed</source>
        <translation>[4]: Авторизация завершена</translation>
    </message>
    <message>
        <source>Subscription selected: no active subscription (purchase webpage opened)</source>
        <translation>Выбор подписки: нет активной подписки (открыта страница покупки)</translation>
    </message>
    <message>
        <source>Subscription selected: %0</source>
        <translation>Выбрана подписка: %0</translation>
    </message>
    <message>
        <source>BUY SUBSCRIBTION</source>
        <translation>КУПИТЬ ПОДПИСКУ</translation>
    </message>
    <message>
        <source>Connect VPN</source>
        <translation>Подключить VPN</translation>
    </message>
    <message>
        <source>Show stats</source>
        <translation>Показать статистику</translation>
    </message>
    <message>
        <source>Show window</source>
        <translation>Показать окно</translation>
    </message>
    <message>
        <source>About</source>
        <translation>О программе</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>Выход</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Настройки</translation>
    </message>
    <message>
        <source>Login</source>
        <translation>Логин</translation>
    </message>
    <message>
        <source>Password</source>
        <translation>Пароль</translation>
    </message>
    <message>
        <source>Connection information</source>
        <translation>Сведения о подключении</translation>
    </message>
    <message>
        <source>Copy address</source>
        <translation>Копировать адрес</translation>
    </message>
    <message>
        <source>[OpenVPN]: state changed to stopped</source>
        <translation>[OpenVPN]: состояние изменено на «остановлен»</translation>
    </message>
    <message>
        <source>Installed OpenVPN version (%0) incompatible with app.&lt;br&gt;Please install OpenVPN of one of these series: %1.</source>
        <translation>Установленная версия OpenVPN (%0) несовместима с приложением.&lt;br&gt;Установите OpenVPN одной из этих серий: %1.</translation>
    </message>
    <message>
        <source>Connected: %0</source>
        <translation>Подключено: %0</translation>
    </message>
    <message>
        <source>Availability check still running at the end: left to end by itself</source>
        <translation>Проверка доступности ещё выполнялась при завершении: оставлена завершиться самостоятельно</translation>
    </message>
    <message>
        <source>Why the connection did not come up</source>
        <translation>Почему подключение не установлено</translation>
    </message>
    <message>
        <source>Switch automatically when the network blocks VPN:</source>
        <translation>Переключаться автоматически, если сеть блокирует VPN:</translation>
    </message>
    <message>
        <source>Switch automatically when the network blocks VPN</source>
        <translation>Переключаться автоматически, если сеть блокирует VPN</translation>
    </message>
    <message>
        <source>Finding out why the connection did not come up...</source>
        <translation>Выясняем, почему подключение не установлено...</translation>
    </message>
    <message>
        <source>The client switched to TCP by itself.</source>
        <translation>Клиент сам переключился на TCP.</translation>
    </message>
    <message>
        <source>The client switched to the mirror route by itself.</source>
        <translation>Клиент сам переключился на маршрут через зеркало.</translation>
    </message>
    <message>
        <source>Save diagnostics…</source>
        <translation>Сохранить диагностику…</translation>
    </message>
    <message>
        <source>Save diagnostics</source>
        <translation>Сохранить диагностику</translation>
    </message>
    <message>
        <source>ZIP archives (*.zip)</source>
        <translation>ZIP-архивы (*.zip)</translation>
    </message>
    <message>
        <source>Diagnostics saved to %0</source>
        <translation>Диагностика сохранена в %0</translation>
    </message>
    <message>
        <source>Test network lock</source>
        <translation>Проверить блокировку сети</translation>
    </message>
    <message>
        <source>Network lock self-test passed</source>
        <translation>Самопроверка блокировки сети пройдена</translation>
    </message>
    <message>
        <source>Network lock self-test failed</source>
        <translation>Самопроверка блокировки сети не пройдена</translation>
    </message>
    <message>
        <source>A worker thread still running at the end: left to end by itself</source>
        <translation>Рабочий поток ещё выполнялся при завершении: оставлен завершиться самостоятельно</translation>
    </message>
    <message>
        <source>Main window brought to the front for another start</source>
        <translation>Главное окно выведено на передний план при повторном запуске</translation>
    </message>
    <message>
        <source>Main window minimized to the taskbar: no system tray</source>
        <translation>Главное окно свёрнуто на панель задач: нет системного трея</translation>
    </message>
    <message>
        <source>Waiting for the network</source>
        <translation>Ожидание сети</translation>
    </message>
    <message>
        <source>Reconnecting</source>
        <translation>Переподключение</translation>
    </message>
    <message>
        <source>Network: the route to the VPN server is gone, waiting</source>
        <translation>Network: маршрут к VPN-серверу пропал, ожидание</translation>
    </message>
    <message>
        <source>Network: the route to the VPN server is back, reconnecting</source>
        <translation>Network: маршрут к VPN-серверу вернулся, переподключение</translation>
    </message>
    <message>
        <source>Network: the route to the VPN server changed, reconnecting</source>
        <translation>Network: маршрут к VPN-серверу изменился, переподключение</translation>
    </message>
    <message>
        <source>Network: the computer woke up, reconnecting</source>
        <translation>Network: компьютер вышел из сна, переподключение</translation>
    </message>
    <message>
        <source>Network: OpenVPN is reconnecting by itself</source>
        <translation>Network: OpenVPN переподключается сам</translation>
    </message>
    <message>
        <source>Network: reconnected in %1 s</source>
        <translation>Network: переподключено за %1 с</translation>
    </message>
    <message>
        <source>Network: the route to the VPN server is not watched (%1)</source>
        <translation>Network: маршрут к VPN-серверу не отслеживается (%1)</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>Unknown error.</source>
        <translation>Неизвестная ошибка.</translation>
    </message>
    <message>
        <source>Can&apos;t connect to server within given time interval.</source>
        <translation>Не удалось подключиться к серверу за отведённое время.</translation>
    </message>
    <message>
        <source>Can&apos;t connect to server.</source>
        <translation>Не удалось подключиться к серверу.</translation>
    </message>
    <message>
        <source>Requested data not found on server.</source>
        <translation>Запрошенные данные не найдены на сервере.</translation>
    </message>
    <message>
        <source>Proxy connection error. Turn off system proxy.</source>
        <translation>Ошибка подключения через прокси. Отключите системный прокси.</translation>
    </message>
    <message>
        <source>[9]: removed a line containing a zero byte from the downloaded configuration</source>
        <translation>[9]: из загруженной конфигурации удалена строка с нулевым байтом</translation>
    </message>
    <message>
        <source>[9]: removed directive &quot;%1&quot; from the downloaded configuration</source>
        <translation>[9]: из загруженной конфигурации удалена директива &quot;%1&quot;</translation>
    </message>
    <message>
        <source>[9]: the downloaded configuration could not be made safe and was discarded</source>
        <translation>[9]: загруженную конфигурацию не удалось сделать безопасной, она отброшена</translation>
    </message>
    <message>
        <source>d </source>
        <translation>д </translation>
    </message>
    <message>
        <source> h </source>
        <translation> ч </translation>
    </message>
    <message>
        <source> m </source>
        <translation> мин </translation>
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
        <translation>%0 Мбит/с</translation>
    </message>
    <message>
        <source>%0 Kb/s</source>
        <translation>%0 Кбит/с</translation>
    </message>
    <message>
        <source>%0 b/s</source>
        <translation>%0 бит/с</translation>
    </message>
    <message>
        <source>%0 day</source>
        <comment>singular ending</comment>
        <translation>%0 день</translation>
    </message>
    <message>
        <source>%0 days</source>
        <comment>special ending</comment>
        <translation>%0 дня</translation>
    </message>
    <message>
        <source>%0 days</source>
        <comment>plural ending</comment>
        <translation>%0 дней</translation>
    </message>
    <message>
        <source>%0 hour</source>
        <comment>singular ending</comment>
        <translation>%0 час</translation>
    </message>
    <message>
        <source>%0 hours</source>
        <comment>special ending</comment>
        <translation>%0 часа</translation>
    </message>
    <message>
        <source>%0 hours</source>
        <comment>plural ending</comment>
        <translation>%0 часов</translation>
    </message>
    <message>
        <source>%0 m</source>
        <translation>%0 мин</translation>
    </message>
    <message>
        <source>%0 s</source>
        <translation>%0 с</translation>
    </message>
    <message>
        <source>left</source>
        <comment>days, singular ending</comment>
        <translation>остался</translation>
    </message>
    <message>
        <source>left</source>
        <comment>days, special ending</comment>
        <translation>осталось</translation>
    </message>
    <message>
        <source>left</source>
        <comment>days, plural ending</comment>
        <translation>осталось</translation>
    </message>
    <message>
        <source>left</source>
        <comment>hours, singular ending</comment>
        <translation>остался</translation>
    </message>
    <message>
        <source>left</source>
        <comment>hours, special ending</comment>
        <translation>осталось</translation>
    </message>
    <message>
        <source>left</source>
        <comment>hours, plural ending</comment>
        <translation>осталось</translation>
    </message>
    <message>
        <source>left</source>
        <comment>minutes, singular ending</comment>
        <translation>осталась</translation>
    </message>
    <message>
        <source>left</source>
        <comment>minutes, special ending</comment>
        <translation>осталось</translation>
    </message>
    <message>
        <source>left</source>
        <comment>minutes, plural ending</comment>
        <translation>осталось</translation>
    </message>
    <message>
        <source>[9]: the configuration was refused: %1</source>
        <translation>[9]: конфигурация отклонена: %1</translation>
    </message>
</context>
<context>
    <name>RequestLog</name>
    <message>
        <source>Request to Kestrune server was sent: </source>
        <translation>Запрос к серверу Kestrune отправлен: </translation>
    </message>
    <message>
        <source>Server reply on %0</source>
        <translation>Ответ сервера на %0</translation>
    </message>
    <message>
        <source>&quot;declined&quot; server reply</source>
        <translation>сервер ответил &quot;declined&quot;</translation>
    </message>
    <message>
        <source>Unable to decode server reply</source>
        <translation>Не удалось разобрать ответ сервера</translation>
    </message>
    <message>
        <source>. Details:</source>
        <translation>. Подробности:</translation>
    </message>
    <message>
        <source>Invalid subscription type</source>
        <translation>Недопустимый тип подписки</translation>
    </message>
    <message>
        <source>Wrong server data</source>
        <translation>Неверные данные сервера</translation>
    </message>
    <message>
        <source>There are SSL errors occurred during request to server. Details:</source>
        <translation>При запросе к серверу возникли ошибки SSL. Подробности:</translation>
    </message>
</context>
<context>
    <name>SettingsStore</name>
    <message>
        <source>App&apos;s settings saved in file: %0</source>
        <translation>Настройки приложения сохранены в файл: %0</translation>
    </message>
    <message>
        <source>App&apos;s settings saving error: file %0 cannot be written (%1)</source>
        <translation>Ошибка сохранения настроек приложения: не удаётся записать файл %0 (%1)</translation>
    </message>
    <message>
        <source>App&apos;s settings file has lines that cannot be read, a copy is kept in file: %0</source>
        <translation>В файле настроек приложения есть нечитаемые строки, копия сохранена в файле: %0</translation>
    </message>
    <message>
        <source>App&apos;s settings loaded from file: %0</source>
        <translation>Настройки приложения загружены из файла: %0</translation>
    </message>
    <message>
        <source>App&apos;s settings saving error: invalid subscription type (%0)</source>
        <translation>Ошибка сохранения настроек приложения: недопустимый тип подписки (%0)</translation>
    </message>
    <message>
        <source>App&apos;s settings loading error: invalid subscription type (%0)</source>
        <translation>Ошибка загрузки настроек приложения: недопустимый тип подписки (%0)</translation>
    </message>
    <message>
        <source>login data</source>
        <translation>данные входа</translation>
    </message>
    <message>
        <source>general</source>
        <translation>общие</translation>
    </message>
    <message>
        <source>favorites</source>
        <translation>избранное</translation>
    </message>
    <message>
        <source>last connection data</source>
        <translation>данные последнего подключения</translation>
    </message>
    <message>
        <source>VPN server&apos;s favorite IP</source>
        <translation>избранный IP VPN-сервера</translation>
    </message>
    <message>
        <source>app&apos;s language</source>
        <translation>язык приложения</translation>
    </message>
    <message>
        <source>stat window</source>
        <translation>окно статистики</translation>
    </message>
    <message>
        <source>last launched version</source>
        <translation>последняя запущенная версия</translation>
    </message>
    <message>
        <source>emergency addresses</source>
        <translation>резервные адреса</translation>
    </message>
    <message>
        <source>additional</source>
        <translation>дополнительные</translation>
    </message>
</context>
<context>
    <name>ShadowsocksProcess</name>
    <message>
        <source>[Shadowsocks]: already running, not started again</source>
        <translation>[Shadowsocks]: уже запущен, повторный запуск не выполняется</translation>
    </message>
    <message>
        <source>[Shadowsocks]: process successfully stopped</source>
        <translation>[Shadowsocks]: процесс успешно остановлен</translation>
    </message>
    <message>
        <source>[Shadowsocks]: process stopping error</source>
        <translation>[Shadowsocks]: ошибка остановки процесса</translation>
    </message>
    <message>
        <source>[Shadowsocks]: %1</source>
        <translation>[Shadowsocks]: %1</translation>
    </message>
    <message>
        <source>[Shadowsocks]: an error occurred. Stopping...</source>
        <translation>[Shadowsocks]: произошла ошибка. Остановка...</translation>
    </message>
    <message>
        <source>[Shadowsocks]: state changed to running</source>
        <translation>[Shadowsocks]: состояние изменено на «работает»</translation>
    </message>
    <message>
        <source>[Shadowsocks]: state changed to stopped</source>
        <translation>[Shadowsocks]: состояние изменено на «остановлен»</translation>
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
        <translation>Левое значение</translation>
    </message>
    <message>
        <source>Right Value</source>
        <translation>Правое значение</translation>
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
        <translation>Время:</translation>
    </message>
    <message>
        <source>0 s</source>
        <translation>0 с</translation>
    </message>
    <message>
        <source>Speed</source>
        <translation>Скорость</translation>
    </message>
    <message>
        <source>Download:</source>
        <translation>Загрузка:</translation>
    </message>
    <message>
        <source>0 b/s</source>
        <translation>0 бит/с</translation>
    </message>
    <message>
        <source>Upload:</source>
        <translation>Отдача:</translation>
    </message>
    <message>
        <source>Traffic</source>
        <translation>Трафик</translation>
    </message>
    <message>
        <source>In:</source>
        <translation>Получено:</translation>
    </message>
    <message>
        <source>0 B</source>
        <translation>0 Б</translation>
    </message>
    <message>
        <source>Out:</source>
        <translation>Отправлено:</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Закрыть</translation>
    </message>
</context>
<context>
    <name>VPNServerItem</name>
    <message>
        <source>Favorite</source>
        <translation>Избранное</translation>
    </message>
</context>
<context>
    <name>VPNProcess</name>
    <message>
        <source>[OpenVPN]: cannot start %1</source>
        <translation>[OpenVPN]: не удаётся запустить %1</translation>
    </message>
    <message>
        <source>Shutting down another active openvpn process</source>
        <translation>Завершение другого активного процесса OpenVPN</translation>
    </message>
    <message>
        <source>[OpenVPN]: state changed to running</source>
        <translation>[OpenVPN]: состояние изменено на «работает»</translation>
    </message>
    <message>
        <source>[OpenVPN]: state changed to stopped</source>
        <translation>[OpenVPN]: состояние изменено на «остановлен»</translation>
    </message>
    <message>
        <source>[OpenVPN]: management interface did not answer</source>
        <translation>[OpenVPN]: интерфейс управления не ответил</translation>
    </message>
</context>
</TS>
