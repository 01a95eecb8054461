<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="es_ES">
<context>
    <name>ApiRequestBuilder</name>
    <message>
        <source>auth key for server [1]</source>
        <translation>clave de autorización para el servidor [1]</translation>
    </message>
    <message>
        <source>user&apos;s authorization [2]</source>
        <translation>autorización del usuario [2]</translation>
    </message>
    <message>
        <source>additional authorization support [3]</source>
        <translation>autorización adicional [3]</translation>
    </message>
    <message>
        <source>user&apos;s subscriptions [4]</source>
        <translation>suscripciones del usuario [4]</translation>
    </message>
    <message>
        <source>available VPN server list (premium/free sub) [5]</source>
        <translation>lista de servidores VPN disponibles (suscripción premium/gratuita) [5]</translation>
    </message>
    <message>
        <source>available VPN server list (double sub) [6]</source>
        <translation>lista de servidores VPN disponibles (suscripción doble) [6]</translation>
    </message>
    <message>
        <source> user&apos;s original IP [7]</source>
        <translation> IP original del usuario [7]</translation>
    </message>
    <message>
        <source>openvpn configuration for VPN connection [9]</source>
        <translation>configuración de OpenVPN para la conexión VPN [9]</translation>
    </message>
    <message>
        <source>user&apos;s IP througth VPN connection [8]</source>
        <translation>IP del usuario a través de la conexión VPN [8]</translation>
    </message>
    <message>
        <source> server&apos;s availability on default address [11]</source>
        <translation> disponibilidad del servidor en la dirección predeterminada [11]</translation>
    </message>
    <message>
        <source> mirror tool config [10]</source>
        <translation> configuración de la herramienta espejo [10]</translation>
    </message>
    <message>
        <source>[9]: VPN Server info: %0, %1 (IP: %2, Protocol: %3)</source>
        <translation>[9]: Información del servidor VPN: %0, %1 (IP: %2, protocolo: %3)</translation>
    </message>
</context>
<context>
    <name>DiagnosisVerdict</name>
    <message>
        <source>No network: this computer has no route to the Internet, and nothing answers.</source>
        <translation>Sin red: este equipo no tiene ruta a Internet y nada responde.</translation>
    </message>
    <message>
        <source>The service is blocked: its API cannot be reached on either address.</source>
        <translation>El servicio está bloqueado: no se puede acceder a su API en ninguna de las dos direcciones.</translation>
    </message>
    <message>
        <source>The server does not answer: it may be down. Choose another server.</source>
        <translation>El servidor no responde: puede que esté caído. Elija otro servidor.</translation>
    </message>
    <message>
        <source>UDP is blocked, TCP works: this network lets the server through on TCP only.</source>
        <translation>UDP está bloqueado, TCP funciona: esta red solo deja pasar el servidor por TCP.</translation>
    </message>
    <message>
        <source>The network blocks VPN connections; the mirror route works.</source>
        <translation>La red bloquea las conexiones VPN; la ruta por el espejo funciona.</translation>
    </message>
    <message>
        <source>The server answers but refuses the account or the keys.</source>
        <translation>El servidor responde, pero rechaza la cuenta o las claves.</translation>
    </message>
    <message>
        <source>The connection did not come up, and the cause could not be found.</source>
        <translation>La conexión no se estableció y no se pudo encontrar la causa.</translation>
    </message>
    <message>
        <source>Choose another server</source>
        <translation>Elegir otro servidor</translation>
    </message>
    <message>
        <source>Use TCP</source>
        <translation>Usar TCP</translation>
    </message>
    <message>
        <source>Use the mirror route</source>
        <translation>Usar la ruta por el espejo</translation>
    </message>
</context>
<context>
    <name>DiagnosticsDialog</name>
    <message>
        <source>The archive would exceed %1 MB.</source>
        <translation>El archivo comprimido superaría los %1 MB.</translation>
    </message>
    <message>
        <source>Hide my addresses</source>
        <translation>Ocultar mis direcciones</translation>
    </message>
    <message>
        <source>Collecting diagnostics…</source>
        <translation>Recopilando diagnósticos…</translation>
    </message>
    <message>
        <source>Save diagnostics</source>
        <translation>Guardar diagnósticos</translation>
    </message>
    <message>
        <source>The archive holds the files below. Passwords, keys and your home folder are removed; nothing is sent anywhere.</source>
        <translation>El archivo comprimido contiene los archivos de abajo. Se quitan las contraseñas, las claves y la ruta de su carpeta personal; no se envía nada a ningún sitio.</translation>
    </message>
    <message>
        <source>File</source>
        <translation>Archivo</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>Tamaño</translation>
    </message>
    <message>
        <source>Files in the archive</source>
        <translation>Archivos en el archivo comprimido</translation>
    </message>
    <message>
        <source>Public addresses other than the VPN servers&apos; are replaced in every file.</source>
        <translation>Las direcciones públicas distintas de las de los servidores VPN se sustituyen en todos los archivos.</translation>
    </message>
    <message numerus="yes">
        <source>%n file(s), %1 before compression; the archive holds at most %2.</source>
        <translation>
            <numerusform>%n archivo, %1 antes de comprimir; el archivo comprimido ocupa como máximo %2.</numerusform>
            <numerusform>%n archivos, %1 antes de comprimir; el archivo comprimido ocupa como máximo %2.</numerusform>
        </translation>
    </message>
    <message>
        <source>The archive could not be saved: %1</source>
        <translation>No se pudo guardar el archivo comprimido: %1</translation>
    </message>
</context>
<context>
    <name>LockSelfTest</name>
    <message>
        <source>The lock&apos;s helper is not installed: %1</source>
        <translation>El programa auxiliar del bloqueo no está instalado: %1</translation>
    </message>
    <message>
        <source>The lock&apos;s helper did not answer in time.</source>
        <translation>El programa auxiliar del bloqueo no respondió a tiempo.</translation>
    </message>
    <message>
        <source>The lock&apos;s helper gave no result: %1</source>
        <translation>El programa auxiliar del bloqueo no dio ningún resultado: %1</translation>
    </message>
    <message>
        <source>The lock&apos;s rules are loaded and unchanged</source>
        <translation>Las reglas del bloqueo están cargadas y sin cambios</translation>
    </message>
    <message>
        <source>Connections outside the VPN are refused</source>
        <translation>Se rechazan las conexiones fuera de la VPN</translation>
    </message>
    <message>
        <source>Blocked packets</source>
        <translation>Paquetes bloqueados</translation>
    </message>
    <message>
        <source>Loopback and the VPN server are let through</source>
        <translation>Se dejan pasar el bucle local y el servidor VPN</translation>
    </message>
    <message>
        <source>passed</source>
        <translation>superada</translation>
    </message>
    <message>
        <source>FAILED</source>
        <translation>FALLIDA</translation>
    </message>
    <message>
        <source>no answer</source>
        <translation>sin respuesta</translation>
    </message>
    <message>
        <source>Apply the lock again (switch it off and on in Settings), or use the emergency unblock.</source>
        <translation>Vuelva a aplicar el bloqueo (desactívelo y actívelo en Ajustes) o use el desbloqueo de emergencia.</translation>
    </message>
</context>
<context>
    <name>LockSelfTestDialog</name>
    <message>
        <source>Testing the network lock…</source>
        <translation>Probando el bloqueo de red…</translation>
    </message>
    <message>
        <source>Test network lock</source>
        <translation>Probar el bloqueo de red</translation>
    </message>
    <message>
        <source>Results of the network lock test</source>
        <translation>Resultados de la prueba del bloqueo de red</translation>
    </message>
    <message>
        <source>The network lock works: every check passed.</source>
        <translation>El bloqueo de red funciona: se han superado todas las comprobaciones.</translation>
    </message>
    <message>
        <source>The network lock does not work as it should.</source>
        <translation>El bloqueo de red no funciona como debería.</translation>
    </message>
</context>
<context>
    <name>Loger</name>
    <message>
        <source>Application started</source>
        <translation>Aplicación iniciada</translation>
    </message>
    <message>
        <source>Log file closed</source>
        <translation>Archivo de registro cerrado</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Applying special option: </source>
        <translation>Aplicando opción especial: </translation>
    </message>
    <message>
        <source>lock network on VPN disconnect (on)...</source>
        <translation>bloqueo de red al desconectarse la VPN (activado)...</translation>
    </message>
    <message>
        <source>lock network on VPN disconnect (off)...</source>
        <translation>bloqueo de red al desconectarse la VPN (desactivado)...</translation>
    </message>
    <message>
        <source>lock network on VPN disconnect (emergency unblock)...</source>
        <translation>bloqueo de red al desconectarse la VPN (desbloqueo de emergencia)...</translation>
    </message>
    <message>
        <source>startup on system logon (on)...</source>
        <translation>inicio al iniciar sesión en el sistema (activado)...</translation>
    </message>
    <message>
        <source>startup on system logon (off)...</source>
        <translation>inicio al iniciar sesión en el sistema (desactivado)...</translation>
    </message>
    <message>
        <source>success</source>
        <translation>correcto</translation>
    </message>
    <message>
        <source>failed</source>
        <translation>error</translation>
    </message>
    <message>
        <source> switching on.</source>
        <translation> activación.</translation>
    </message>
    <message>
        <source> switching off.</source>
        <translation> desactivación.</translation>
    </message>
    <message>
        <source>Settings applying: &quot;Block network without VPN connection&quot; switched on: %0</source>
        <translation>Aplicando ajustes: &quot;Bloquear la red sin conexión VPN&quot; activado: %0</translation>
    </message>
    <message>
        <source>Settings applying: &quot;Block network without VPN connection&quot; switched off: %0</source>
        <translation>Aplicando ajustes: &quot;Bloquear la red sin conexión VPN&quot; desactivado: %0</translation>
    </message>
    <message>
        <source>Settings applying: &quot;Block network without VPN connection&quot; emergency unblock: %0</source>
        <translation>Aplicando ajustes: &quot;Bloquear la red sin conexión VPN&quot; desbloqueo de emergencia: %0</translation>
    </message>
    <message>
        <source>Settings applying: add program to system startup: %0</source>
        <translation>Aplicando ajustes: añadir el programa al inicio del sistema: %0</translation>
    </message>
    <message>
        <source>Settings applying: remove program from system startup: %0</source>
        <translation>Aplicando ajustes: quitar el programa del inicio del sistema: %0</translation>
    </message>
    <message>
        <source>User logged out (account: %0)</source>
        <translation>El usuario cerró la sesión (cuenta: %0)</translation>
    </message>
    <message>
        <source>Log out</source>
        <translation>Cerrar sesión</translation>
    </message>
    <message>
        <source>Remember me</source>
        <translation>Recordarme</translation>
    </message>
    <message>
        <source>&lt;a href=&quot;%0/en/password-remind&quot;&gt;&lt;span style=&quot; color:#5f5f5f; font-size: 9px;&quot;&gt;Forgot password?&lt;/span&gt;&lt;/a&gt;</source>
        <translation>&lt;a href=&quot;%0/en/password-remind&quot;&gt;&lt;span style=&quot; color:#5f5f5f; font-size: 9px;&quot;&gt;¿Olvidó su contraseña?&lt;/span&gt;&lt;/a&gt;</translation>
    </message>
    <message>
        <source>SIGN IN</source>
        <translation>ENTRAR</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p style=&quot; line-height: 17px; color:#5f5f5f; font-size: 9px;&quot;&gt;To sign in you need &lt;a href=&quot;%0/en/signup&quot;&gt;&lt;span style=&quot; text-decoration: underline; color:#5f5f5f;&quot;&gt;to register&lt;/span&gt;&lt;/a&gt; on site&lt;br&gt;and &lt;a href=&quot;%0/en/panel/package/buy&quot;&gt;&lt;span style=&quot; text-decoration: underline; color:#5f5f5f;&quot;&gt;buy subscription&lt;/span&gt;&lt;/a&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p style=&quot; line-height: 17px; color:#5f5f5f; font-size: 9px;&quot;&gt;Para iniciar sesión, debe &lt;a href=&quot;%0/en/signup&quot;&gt;&lt;span style=&quot; text-decoration: underline; color:#5f5f5f;&quot;&gt;registrarse&lt;/span&gt;&lt;/a&gt; en el sitio&lt;br&gt;y &lt;a href=&quot;%0/en/panel/package/buy&quot;&gt;&lt;span style=&quot; text-decoration: underline; color:#5f5f5f;&quot;&gt;comprar una suscripción&lt;/span&gt;&lt;/a&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>Authorization</source>
        <translation>Autorización</translation>
    </message>
    <message>
        <source>&lt;p&gt;&lt;span style=&quot; font-size:13px;&quot;&gt;Loading packages&lt;/span&gt;&lt;span style=&quot; color:rgba(0,0,0,0);&quot;&gt;.&lt;/span&gt;&lt;span style=&quot; color:rgba(0,0,0,0);&quot;&gt;.&lt;/span&gt;&lt;span style=&quot; color:rgba(0,0,0,0);&quot;&gt;.&lt;/span&gt;&lt;/p&gt;</source>
        <translation>&lt;p&gt;&lt;span style=&quot; font-size:13px;&quot;&gt;Cargando paquetes&lt;/span&gt;&lt;span style=&quot; color:rgba(0,0,0,0);&quot;&gt;.&lt;/span&gt;&lt;span style=&quot; color:rgba(0,0,0,0);&quot;&gt;.&lt;/span&gt;&lt;span style=&quot; color:rgba(0,0,0,0);&quot;&gt;.&lt;/span&gt;&lt;/p&gt;</translation>
    </message>
    <message>
        <source>Select subscription:</source>
        <translation>Elija una suscripción:</translation>
    </message>
    <message>
        <source>NEXT</source>
        <translation>SIGUIENTE</translation>
    </message>
    <message>
        <source>Back</source>
        <translation>Atrás</translation>
    </message>
    <message>
        <source>change</source>
        <translation>cambiar</translation>
    </message>
    <message>
        <source>VPN disabled</source>
        <translation>VPN desactivada</translation>
    </message>
    <message>
        <source>Active:</source>
        <translation>Conectado a:</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;span style=&quot; font-size:13px;&quot;&gt;Connecting...&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;span style=&quot; font-size:13px;&quot;&gt;Conectando...&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>&lt;p&gt;&lt;span style=&quot; font-size:13px;&quot;&gt;Checking servers&lt;/span&gt;&lt;/p&gt;</source>
        <translation>&lt;p&gt;&lt;span style=&quot; font-size:13px;&quot;&gt;Comprobando servidores&lt;/span&gt;&lt;/p&gt;</translation>
    </message>
    <message>
        <source>SWITCH OFF VPN</source>
        <translation>DESACTIVAR VPN</translation>
    </message>
    <message>
        <source>AUTO SELECT</source>
        <translation>AUTOMÁTICO</translation>
    </message>
    <message>
        <source>CHOOSE SERVER</source>
        <translation>ELEGIR SERVIDOR</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p style=&quot; line-height: 17px; color:#5f5f5f; font-size: 9px;&quot;&gt;&lt;span&gt;&amp;quot;Auto select&amp;quot; mode connects you to the &lt;br&gt;fastest VPN location at the moment&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p style=&quot; line-height: 17px; color:#5f5f5f; font-size: 9px;&quot;&gt;&lt;span&gt;El modo &amp;quot;Automático&amp;quot; le conecta a la &lt;br&gt;ubicación VPN más rápida en este momento&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>CONNECT</source>
        <translation>CONECTAR</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;span style=&quot; font-size:24px;&quot;&gt;Information&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;span style=&quot; font-size:24px;&quot;&gt;Información&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>Protocol:</source>
        <translation>Protocolo:</translation>
    </message>
    <message>
        <source>Location:</source>
        <translation>Ubicación:</translation>
    </message>
    <message>
        <source>New IP:</source>
        <translation>IP nueva:</translation>
    </message>
    <message>
        <source>Original IP:</source>
        <translation>IP original:</translation>
    </message>
    <message>
        <source>Time:</source>
        <translation>Tiempo:</translation>
    </message>
    <message>
        <source>Speed</source>
        <translation>Velocidad</translation>
    </message>
    <message>
        <source>Download:</source>
        <translation>Descarga:</translation>
    </message>
    <message>
        <source>0 b/s</source>
        <translation>0 b/s</translation>
    </message>
    <message>
        <source>Upload:</source>
        <translation>Subida:</translation>
    </message>
    <message>
        <source>Traffic</source>
        <translation>Tráfico</translation>
    </message>
    <message>
        <source>In:</source>
        <translation>Recibido:</translation>
    </message>
    <message>
        <source>0 B</source>
        <translation>0 B</translation>
    </message>
    <message>
        <source>Out:</source>
        <translation>Enviado:</translation>
    </message>
    <message>
        <source>Change IP:</source>
        <translation>Cambiar IP:</translation>
    </message>
    <message>
        <source>RECONNECT</source>
        <translation>RECONECTAR</translation>
    </message>
    <message>
        <source>Select first server:</source>
        <translation>Elija el primer servidor:</translation>
    </message>
    <message>
        <source>Select second server:</source>
        <translation>Elija el segundo servidor:</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p align=&quot;center&quot; style=&quot; line-height: 20px;&quot;&gt;&lt;span style=&quot; font-size:13px; color:#5f5f5f;&quot;&gt;Version %0&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p align=&quot;center&quot; style=&quot; line-height: 20px;&quot;&gt;&lt;span style=&quot; font-size:13px; color:#5f5f5f;&quot;&gt;Versión %0&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>&lt;Not connected&gt;</source>
        <translation>&lt;No conectado&gt;</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;span style=&quot; font-size: 24px;&quot;&gt;Settings&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;span style=&quot; font-size: 24px;&quot;&gt;Ajustes&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>Lock network if VPN disconnected:</source>
        <translation>Bloquear la red sin VPN:</translation>
    </message>
    <message>
        <source>Autoconnect to VPN with startup:</source>
        <translation>Conectar la VPN al iniciar:</translation>
    </message>
    <message>
        <source>Start minimized:</source>
        <translation>Iniciar minimizado:</translation>
    </message>
    <message>
        <source>Language:</source>
        <translation>Idioma:</translation>
    </message>
    <message>
        <source>Show stats window on VPN connect:</source>
        <translation>Mostrar estadísticas al conectar:</translation>
    </message>
    <message>
        <source>Autostart on system logon:</source>
        <translation>Iniciar al abrir sesión:</translation>
    </message>
    <message>
        <source>Check servers for availability:</source>
        <translation>Comprobar disponibilidad de servidores:</translation>
    </message>
    <message>
        <source>Enable DNS leak protection:</source>
        <translation>Protección contra fugas de DNS:</translation>
    </message>
    <message>
        <source>VPN log</source>
        <translation>Registro VPN</translation>
    </message>
    <message>
        <source>Program log</source>
        <translation>Registro del programa</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p style=&quot; line-height: 17px; color:#5f5f5f; font-size: 9px;&quot;&gt;&lt;span &gt;Settings will be applied on&lt;/span&gt;&lt;br&gt;&lt;span&gt;&quot;BACK&quot; clicked&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p style=&quot; line-height: 17px; color:#5f5f5f; font-size: 9px;&quot;&gt;&lt;span &gt;Los ajustes se aplicarán al&lt;/span&gt;&lt;br&gt;&lt;span&gt;pulsar «Atrás»&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>&lt;p style=&quot;font-size: 11px;&quot;&gt;Applying settings&lt;span style=&quot; color:rgba(0,0,0,0);&quot;&gt;.&lt;/span&gt;&lt;span style=&quot; color:rgba(0,0,0,0);&quot;&gt;.&lt;/span&gt;&lt;span style=&quot; color:rgba(0,0,0,0);&quot;&gt;.&lt;/span&gt;&lt;/p&gt;</source>
        <translation>&lt;p style=&quot;font-size: 11px;&quot;&gt;Aplicando ajustes&lt;span style=&quot; color:rgba(0,0,0,0);&quot;&gt;.&lt;/span&gt;&lt;span style=&quot; color:rgba(0,0,0,0);&quot;&gt;.&lt;/span&gt;&lt;span style=&quot; color:rgba(0,0,0,0);&quot;&gt;.&lt;/span&gt;&lt;/p&gt;</translation>
    </message>
    <message>
        <source>This package has been paused</source>
        <translation>Este paquete está en pausa</translation>
    </message>
    <message>
        <source>This package has been expired</source>
        <translation>Este paquete ha caducado</translation>
    </message>
    <message>
        <source>Servers</source>
        <translation>Servidores</translation>
    </message>
    <message>
        <source>Favorites</source>
        <translation>Favoritos</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>Copiar</translation>
    </message>
    <message>
        <source>Main window is visible</source>
        <translation>La ventana principal está visible</translation>
    </message>
    <message>
        <source>Main window is now hidden</source>
        <translation>La ventana principal está oculta</translation>
    </message>
    <message>
        <source>Unable to get list of subscriptions.</source>
        <translation>No se pudo obtener la lista de suscripciones.</translation>
    </message>
    <message>
        <source>Unable to get list of servers.</source>
        <translation>No se pudo obtener la lista de servidores.</translation>
    </message>
    <message>
        <source>Unable to get list of servers for double subscription.</source>
        <translation>No se pudo obtener la lista de servidores de la suscripción doble.</translation>
    </message>
    <message>
        <source>Unable to get Shadowsocks config file.</source>
        <translation>No se pudo obtener el archivo de configuración de Shadowsocks.</translation>
    </message>
    <message>
        <source>Unable to get OpenVPN config file.</source>
        <translation>No se pudo obtener el archivo de configuración de OpenVPN.</translation>
    </message>
    <message>
        <source>Unable to get your IP before VPN connection.</source>
        <translation>No se pudo obtener su IP antes de conectar la VPN.</translation>
    </message>
    <message>
        <source>Unable to get your new IP througth VPN connection.</source>
        <translation>No se pudo obtener su nueva IP a través de la conexión VPN.</translation>
    </message>
    <message>
        <source>Log is switched off or file does not exists.</source>
        <translation>El registro está desactivado o el archivo no existe.</translation>
    </message>
    <message>
        <source>Unsupported subscription type.</source>
        <translation>Tipo de suscripción no admitido.</translation>
    </message>
    <message>
        <source>IP before and after VPN connection establishment are equal.</source>
        <translation>La IP antes y después de establecer la conexión VPN es la misma.</translation>
    </message>
    <message>
        <source>Unable to apply following setting:&lt;br&gt;%0</source>
        <translation>No se pudo aplicar el siguiente ajuste:&lt;br&gt;%0</translation>
    </message>
    <message>
        <source>Application is running already.</source>
        <translation>La aplicación ya se está ejecutando.</translation>
    </message>
    <message>
        <source>Additional tool install/check error. Unable to proceed.</source>
        <translation>Error al instalar o comprobar la herramienta adicional. No se puede continuar.</translation>
    </message>
    <message>
        <source>Active VPN connection will be disconnected.&lt;br&gt;Proceed?</source>
        <translation>La conexión VPN activa se desconectará.&lt;br&gt;¿Desea continuar?</translation>
    </message>
    <message>
        <source>Program will log out from account.&lt;br&gt;Proceed?</source>
        <translation>El programa cerrará la sesión de su cuenta.&lt;br&gt;¿Desea continuar?</translation>
    </message>
    <message>
        <source>Block setting configures system components by special way.&lt;br&gt;&lt;br&gt;Please do not change or remove additional rules and/or options created by program in system components.&lt;br&gt;&lt;br&gt;Configuration interruption may lead to unblocking failure.&lt;br&gt;&lt;br&gt;Proceed?</source>
        <translation>El bloqueo configura componentes del sistema de un modo especial.&lt;br&gt;&lt;br&gt;No modifique ni elimine las reglas u opciones adicionales que el programa crea en los componentes del sistema.&lt;br&gt;&lt;br&gt;Interrumpir la configuración puede impedir el desbloqueo.&lt;br&gt;&lt;br&gt;¿Desea continuar?</translation>
    </message>
    <message>
        <source>Error: authorization failed</source>
        <translation>Error: no se pudo iniciar sesión</translation>
    </message>
    <message>
        <source>Error: unable to get subscriptions</source>
        <translation>Error: no se pudieron obtener las suscripciones</translation>
    </message>
    <message>
        <source>Error: there are no active subscribtions</source>
        <translation>Error: no hay suscripciones activas</translation>
    </message>
    <message>
        <source>Error: unable to get list of available servers</source>
        <translation>Error: no se pudo obtener la lista de servidores disponibles</translation>
    </message>
    <message>
        <source>Error: unable to establish VPN connection</source>
        <translation>Error: no se pudo establecer la conexión VPN</translation>
    </message>
    <message>
        <source>VPN connection established
Original IP: %0
New IP: %1</source>
        <translation>Conexión VPN establecida
IP original: %0
IP nueva: %1</translation>
    </message>
    <message>
        <source>VPN disconnected</source>
        <translation>VPN desconectada</translation>
    </message>
    <message>
        <source>VPN not connected</source>
        <translation>VPN no conectada</translation>
    </message>
    <message>
        <source>VPN is connecting...</source>
        <translation>Conectando la VPN...</translation>
    </message>
    <message>
        <source>VPN connected</source>
        <translation>VPN conectada</translation>
    </message>
    <message>
        <source>VPN is disconnecting...</source>
        <translation>Desconectando la VPN...</translation>
    </message>
    <message>
        <source>Error code: %0&lt;br&gt;</source>
        <translation>Código de error: %0&lt;br&gt;</translation>
    </message>
    <message>
        <source>New language will be applied after restart.</source>
        <translation>El nuevo idioma se aplicará después de reiniciar.</translation>
    </message>
    <message>
        <source>Subscription &quot;%0&quot; will end %1.</source>
        <translation>La suscripción &quot;%0&quot; finalizará el %1.</translation>
    </message>
    <message>
        <source>Update subscription</source>
        <translation>Renovar suscripción</translation>
    </message>
    <message>
        <source>Following setting applied:&lt;br&gt;Lock network without VPN: unblocking&lt;br&gt;&lt;br&gt;Check your network connection. If you experiencing issues, use &lt;b&gt;Emergency unblock&lt;/b&gt;.</source>
        <translation>Se aplicó el siguiente ajuste:&lt;br&gt;Bloquear la red sin VPN: desbloqueo&lt;br&gt;&lt;br&gt;Compruebe su conexión de red. Si tiene problemas, use &lt;b&gt;Desbloqueo de emergencia&lt;/b&gt;.</translation>
    </message>
    <message>
        <source>Emergency unblock</source>
        <translation>Desbloqueo de emergencia</translation>
    </message>
    <message>
        <source>Uses Windows Firewall.

Blocking takes immediately effect on current and new network connections. Blocking continues after PC restart (normal/sudden). Blocking not depends on program state (running/closed).</source>
        <translation>Usa el Firewall de Windows.

El bloqueo se aplica de inmediato a las conexiones de red actuales y nuevas. El bloqueo se mantiene tras reiniciar el PC (de forma normal o repentina). El bloqueo no depende del estado del programa (abierto o cerrado).</translation>
    </message>
    <message>
        <source>Don&apos;t show this message again</source>
        <translation>No volver a mostrar este mensaje</translation>
    </message>
    <message>
        <source>Unable to get authorization key</source>
        <translation>No se pudo obtener la clave de autorización</translation>
    </message>
    <message>
        <source>Authorization failed</source>
        <translation>Error de autorización</translation>
    </message>
    <message>
        <source>Unable to get authorization support reply</source>
        <translation>No se pudo obtener la respuesta de autorización adicional</translation>
    </message>
    <message>
        <source>Unable to get subscription list</source>
        <translation>No se pudo obtener la lista de suscripciones</translation>
    </message>
    <message>
        <source>Unable to get available VPN server list</source>
        <translation>No se pudo obtener la lista de servidores VPN disponibles</translation>
    </message>
    <message>
        <source>Unable to get VPN server list (double sub)</source>
        <translation>No se pudo obtener la lista de servidores VPN (suscripción doble)</translation>
    </message>
    <message>
        <source>Unable to get user&apos;s original IP</source>
        <translation>No se pudo obtener la IP original del usuario</translation>
    </message>
    <message>
        <source>Unable to get openvpn configuration</source>
        <translation>No se pudo obtener la configuración de OpenVPN</translation>
    </message>
    <message>
        <source>Unable to get user&apos;s IP througth VPN connection</source>
        <translation>No se pudo obtener la IP del usuario a través de la conexión VPN</translation>
    </message>
    <message>
        <source>Unable to get mirror tool configuration</source>
        <translation>No se pudo obtener la configuración de la herramienta espejo</translation>
    </message>
    <message>
        <source>Request to Kestrune server was sent: </source>
        <translation>Solicitud enviada al servidor de Kestrune: </translation>
    </message>
    <message>
        <source>Server reply on %0</source>
        <translation>Respuesta del servidor a %0</translation>
    </message>
    <message>
        <source>&quot;declined&quot; server reply</source>
        <translation>el servidor respondió &quot;declined&quot;</translation>
    </message>
    <message>
        <source>Unable to decode server reply</source>
        <translation>No se pudo descodificar la respuesta del servidor</translation>
    </message>
    <message>
        <source>. Details:</source>
        <translation>. Detalles:</translation>
    </message>
    <message>
        <source>Invalid subscription type</source>
        <translation>Tipo de suscripción no válido</translation>
    </message>
    <message>
        <source>Wrong server data</source>
        <translation>Datos del servidor incorrectos</translation>
    </message>
    <message>
        <source>There are SSL errors occurred during request to server. Details:</source>
        <translation>Se produjeron errores SSL durante la solicitud al servidor. Detalles:</translation>
    </message>
    <message>
        <source>auth key for server [1]</source>
        <translation>clave de autorización para el servidor [1]</translation>
    </message>
    <message>
        <source>user&apos;s authorization [2]</source>
        <translation>autorización del usuario [2]</translation>
    </message>
    <message>
        <source>additional authorization support [3]</source>
        <translation>autorización adicional [3]</translation>
    </message>
    <message>
        <source>user&apos;s subscriptions [4]</source>
        <translation>suscripciones del usuario [4]</translation>
    </message>
    <message>
        <source>available VPN server list (premium/free sub) [5]</source>
        <translation>lista de servidores VPN disponibles (suscripción premium/gratuita) [5]</translation>
    </message>
    <message>
        <source>available VPN server list (double sub) [6]</source>
        <translation>lista de servidores VPN disponibles (suscripción doble) [6]</translation>
    </message>
    <message>
        <source> user&apos;s original IP [7]</source>
        <translation> IP original del usuario [7]</translation>
    </message>
    <message>
        <source>openvpn configuration for VPN connection [9]</source>
        <translation>configuración de OpenVPN para la conexión VPN [9]</translation>
    </message>
    <message>
        <source>user&apos;s IP througth VPN connection [8]</source>
        <translation>IP del usuario a través de la conexión VPN [8]</translation>
    </message>
    <message>
        <source> server&apos;s availability on default address [11]</source>
        <translation> disponibilidad del servidor en la dirección predeterminada [11]</translation>
    </message>
    <message>
        <source> mirror tool config [10]</source>
        <translation> configuración de la herramienta espejo [10]</translation>
    </message>
    <message>
        <source>[9]: VPN Server info: %0, %1 (IP: %2, Protocol: %3)</source>
        <translation>[9]: Información del servidor VPN: %0, %1 (IP: %2, protocolo: %3)</translation>
    </message>
    <message>
        <source>&lt;not selected&gt;</source>
        <translation>&lt;no seleccionado&gt;</translation>
    </message>
    <message>
        <source>&lt;p&gt;&lt;span style=&quot;font-size:13px;&quot;&gt;Checking servers (%0/%1)&lt;/span&gt;&lt;/p&gt;</source>
        <translation>&lt;p&gt;&lt;span style=&quot;font-size:13px;&quot;&gt;Comprobando servidores (%0/%1)&lt;/span&gt;&lt;/p&gt;</translation>
    </message>
    <message>
        <source>Availability check finished, %0 of %1 servers are reachable</source>
        <translation>Comprobación de disponibilidad terminada: %0 de %1 servidores accesibles</translation>
    </message>
    <message>
        <source>Servers or favorites</source>
        <translation>Servidores o favoritos</translation>
    </message>
    <message>
        <source>Favorite pair</source>
        <translation>Par favorito</translation>
    </message>
    <message>
        <source>All locations</source>
        <translation>Todas las ubicaciones</translation>
    </message>
    <message>
        <source>Favorite locations</source>
        <translation>Ubicaciones favoritas</translation>
    </message>
    <message>
        <source>Favorite pairs</source>
        <translation>Pares favoritos</translation>
    </message>
    <message>
        <source>[10]: dropped %1 more members of the mirror tool configuration</source>
        <translation>[10]: se han descartado %1 miembros más de la configuración de la herramienta espejo</translation>
    </message>
    <message>
        <source>[10]: missing or unusable member &quot;%1&quot; in the mirror tool configuration</source>
        <translation>[10]: falta el miembro &quot;%1&quot; de la configuración de la herramienta espejo o no es utilizable</translation>
    </message>
    <message>
        <source>Stopping VPN connection</source>
        <translation>Deteniendo la conexión VPN</translation>
    </message>
    <message>
        <source>Interrupt connection status detected. Cancelation reply processing</source>
        <translation>Se detectó la interrupción de la conexión. Se cancela el procesamiento de la respuesta</translation>
    </message>
    <message>
        <source>Real IP received</source>
        <translation>IP real recibida</translation>
    </message>
    <message>
        <source>Unable to save openvpn configuration in file</source>
        <translation>No se pudo guardar la configuración de openvpn en el archivo</translation>
    </message>
    <message>
        <source>openvpn configuration has been successfully saved in file</source>
        <translation>la configuración de openvpn se ha guardado correctamente en el archivo</translation>
    </message>
    <message>
        <source>Initializing VPN connection</source>
        <translation>Inicializando la conexión VPN</translation>
    </message>
    <message>
        <source>retrying network request (retry: %0)</source>
        <translation>reintentando la solicitud de red (intento: %0)</translation>
    </message>
    <message>
        <source>User&apos;s IP through VPN connection received</source>
        <translation>IP del usuario a través de la conexión VPN recibida</translation>
    </message>
    <message>
        <source>User&apos;s IP before and after VPN connection establishment are equal</source>
        <translation>La IP del usuario antes y después de establecer la conexión VPN es la misma</translation>
    </message>
    <message>
        <source>expired</source>
        <translation>caducada</translation>
    </message>
    <message>
        <source>openvpn process closed</source>
        <translation>el proceso openvpn se ha cerrado</translation>
    </message>
    <message>
        <source>auto select</source>
        <translation>selección automática</translation>
    </message>
    <message>
        <source>unknown</source>
        <translation>desconocido</translation>
    </message>
    <message>
        <source>&lt;p style=&quot; color:#ff0000; font-size: 13px;&quot;&gt;&lt;span&gt;Unable to connect.&lt;/span&gt;&lt;a href=&quot;file:///</source>
        <translation>&lt;p style=&quot; color:#ff0000; font-size: 13px;&quot;&gt;&lt;span&gt;No se pudo conectar.&lt;/span&gt;&lt;a href=&quot;file:///</translation>
    </message>
    <message>
        <source>&quot;&gt;&lt;br&gt;&lt;span style=&quot; font-size: 13px; text-decoration: underline; color:#ff0000;&quot;&gt;View log&lt;/span&gt;&lt;/a&gt;&lt;/p&gt;</source>
        <translation>&quot;&gt;&lt;br&gt;&lt;span style=&quot; font-size: 13px; text-decoration: underline; color:#ff0000;&quot;&gt;Ver registro&lt;/span&gt;&lt;/a&gt;&lt;/p&gt;</translation>
    </message>
    <message>
        <source>Connecting</source>
        <translation>Conectando</translation>
    </message>
    <message>
        <source>Disconnecting</source>
        <translation>Desconectando</translation>
    </message>
    <message>
        <source>ABORT</source>
        <translation>CANCELAR</translation>
    </message>
    <message>
        <source>Disconnect VPN</source>
        <translation>Desconectar VPN</translation>
    </message>
    <message>
        <source>Connect VPN (%0)</source>
        <translation>Conectar VPN (%0)</translation>
    </message>
    <message>
        <source>App version: KS %0, OS: %2 %3 (version %4),</source>
        <translation>Versión de la aplicación: KS %0, SO: %2 %3 (versión %4),</translation>
    </message>
    <message>
        <source>OpenVPN version: %0, screen resolution: %1 on %2 pixels</source>
        <translation>Versión de OpenVPN: %0, resolución de pantalla: %1 por %2 píxeles</translation>
    </message>
    <message>
        <source>Installed OpenVPN version (%0) incompatible with app.&lt;br&gt;Please install OpenVPN 2.3.x or 2.4.x.</source>
        <translation>La versión de OpenVPN instalada (%0) no es compatible con la aplicación.&lt;br&gt;Instale OpenVPN 2.3.x o 2.4.x.</translation>
    </message>
    <message>
        <source>Main window created</source>
        <translation>Ventana principal creada</translation>
    </message>
    <message>
        <source>[11]: Trying reconnect to emergency address</source>
        <translation>[11]: Intentando reconectar a la dirección de emergencia</translation>
    </message>
    <message>
        <source>Server Mirror Configuration needed: %0</source>
        <translation>Se necesita la configuración de espejo del servidor: %0</translation>
    </message>
    <message>
        <source>yes</source>
        <translation>sí</translation>
    </message>
    <message>
        <source>no</source>
        <translation>no</translation>
    </message>
    <message>
        <source>Server Mirror Configuration disabled: Shadowsocks component not found.</source>
        <translation>Configuración de espejo del servidor desactivada: no se encontró el componente Shadowsocks.</translation>
    </message>
    <message>
        <source>Shadowsocks component not found.&lt;br&gt;Server mirror configurations are disabled.</source>
        <translation>No se encontró el componente Shadowsocks.&lt;br&gt;Las configuraciones de espejo del servidor están desactivadas.</translation>
    </message>
    <message>
        <source>[WARNING]: server mirror configuration required TCP protocol only</source>
        <translation>[WARNING]: la configuración de espejo del servidor requiere solo el protocolo TCP</translation>
    </message>
    <message>
        <source>[10]: dropped member &quot;%1&quot; of the mirror tool configuration</source>
        <translation>[10]: se ha descartado el miembro &quot;%1&quot; de la configuración de la herramienta espejo</translation>
    </message>
    <message>
        <source>Unable to save mirror tool configuration in file</source>
        <translation>No se pudo guardar la configuración de la herramienta espejo en el archivo</translation>
    </message>
    <message>
        <source>mirror tool configuration has been saved in file</source>
        <translation>la configuración de la herramienta espejo se ha guardado en el archivo</translation>
    </message>
    <message>
        <source>Application is shutting down</source>
        <translation>La aplicación se está cerrando</translation>
    </message>
    <message>
        <source>[5]: VPN server list received. Server count: %0</source>
        <translation>[5]: Lista de servidores VPN recibida. Número de servidores: %0</translation>
    </message>
    <message>
        <source>App&apos;s settings saving error: no server selected (%0)</source>
        <translation>Error al guardar la configuración de la aplicación: no se ha seleccionado ningún servidor (%0)</translation>
    </message>
    <message>
        <source>Sign-in not started: no service address</source>
        <translation>No se inició el inicio de sesión: no hay dirección del servicio</translation>
    </message>
    <message>
        <source>Server not reachable.</source>
        <translation>El servidor no está disponible.</translation>
    </message>
    <message>
        <source>Incorrect server reply.</source>
        <translation>Respuesta incorrecta del servidor.</translation>
    </message>
    <message>
        <source>Server declined authorization request</source>
        <translation>El servidor rechazó la solicitud de autorización</translation>
    </message>
    <message>
        <source>[1]: Authorization key received</source>
        <translation>[1]: Clave de autorización recibida</translation>
    </message>
    <message>
        <source>Server declined authorization request.</source>
        <translation>El servidor rechazó la solicitud de autorización.</translation>
    </message>
    <message>
        <source>[2]: Authorization completed (account: %0)</source>
        <translation>[2]: Autorización completada (cuenta: %0)</translation>
    </message>
    <message>
        <source>[4]: Subscription list received. Subscription count: %0</source>
        <translation>[4]: Lista de suscripciones recibida. Número de suscripciones: %0</translation>
    </message>
    <message>
        <source>[4]: Authorization completed</source>
        <translation>[4]: Autorización completada</translation>
    </message>
    <message>
        <source>Subscription selected: no active subscription (purchase webpage opened)</source>
        <translation>Suscripción seleccionada: no hay ninguna suscripción activa (se abrió la página de compra)</translation>
    </message>
    <message>
        <source>Subscription selected: %0</source>
        <translation>Suscripción seleccionada: %0</translation>
    </message>
    <message>
        <source>BUY SUBSCRIBTION</source>
        <translation>COMPRAR SUSCRIPCIÓN</translation>
    </message>
    <message>
        <source>Connect VPN</source>
        <translation>Conectar VPN</translation>
    </message>
    <message>
        <source>Show stats</source>
        <translation>Mostrar estadísticas</translation>
    </message>
    <message>
        <source>Show window</source>
        <translation>Mostrar ventana</translation>
    </message>
    <message>
        <source>About</source>
        <translation>Acerca de</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>Salir</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Ajustes</translation>
    </message>
    <message>
        <source>Login</source>
        <translation>Usuario</translation>
    </message>
    <message>
        <source>Password</source>
        <translation>Contraseña</translation>
    </message>
    <message>
        <source>Connection information</source>
        <translation>Información de la conexión</translation>
    </message>
    <message>
        <source>Copy address</source>
        <translation>Copiar dirección</translation>
    </message>
    <message>
        <source>[OpenVPN]: state changed to stopped</source>
        <translation>[OpenVPN]: estado cambiado a «detenido»</translation>
    </message>
    <message>
        <source>Installed OpenVPN version (%0) incompatible with app.&lt;br&gt;Please install OpenVPN of one of these series: %1.</source>
        <translation>La versión de OpenVPN instalada (%0) no es compatible con la aplicación.&lt;br&gt;Instale OpenVPN de una de estas series: %1.</translation>
    </message>
    <message>
        <source>Connected: %0</source>
        <translation>Conectado: %0</translation>
    </message>
    <message>
        <source>Availability check still running at the end: left to end by itself</source>
        <translation>La comprobación de disponibilidad seguía en curso al salir: se deja que termine por sí sola</translation>
    </message>
    <message>
        <source>Why the connection did not come up</source>
        <translation>Por qué no se estableció la conexión</translation>
    </message>
    <message>
        <source>Switch automatically when the network blocks VPN:</source>
        <translation>Cambiar automáticamente si la red bloquea la VPN:</translation>
    </message>
    <message>
        <source>Switch automatically when the network blocks VPN</source>
        <translation>Cambiar automáticamente si la red bloquea la VPN</translation>
    </message>
    <message>
        <source>Finding out why the connection did not come up...</source>
        <translation>Averiguando por qué no se estableció la conexión...</translation>
    </message>
    <message>
        <source>The client switched to TCP by itself.</source>
        <translation>El cliente cambió a TCP por sí solo.</translation>
    </message>
    <message>
        <source>The client switched to the mirror route by itself.</source>
        <translation>El cliente cambió a la ruta por el espejo por sí solo.</translation>
    </message>
    <message>
        <source>Save diagnostics…</source>
        <translation>Guardar diagnósticos…</translation>
    </message>
    <message>
        <source>Save diagnostics</source>
        <translation>Guardar diagnósticos</translation>
    </message>
    <message>
        <source>ZIP archives (*.zip)</source>
        <translation>Archivos ZIP (*.zip)</translation>
    </message>
    <message>
        <source>Diagnostics saved to %0</source>
        <translation>Diagnósticos guardados en %0</translation>
    </message>
    <message>
        <source>Test network lock</source>
        <translation>Probar el bloqueo de red</translation>
    </message>
    <message>
        <source>Network lock self-test passed</source>
        <translation>Autoprueba del bloqueo de red superada</translation>
    </message>
    <message>
        <source>Network lock self-test failed</source>
        <translation>Autoprueba del bloqueo de red fallida</translation>
    </message>
    <message>
        <source>A worker thread still running at the end: left to end by itself</source>
        <translation>Un hilo de trabajo seguía en ejecución al salir: se deja que termine por sí solo</translation>
    </message>
    <message>
        <source>Main window brought to the front for another start</source>
        <translation>La ventana principal pasó a primer plano por otro inicio</translation>
    </message>
    <message>
        <source>Main window minimized to the taskbar: no system tray</source>
        <translation>La ventana principal se minimizó a la barra de tareas: no hay bandeja del sistema</translation>
    </message>
    <message>
        <source>Waiting for the network</source>
        <translation>Esperando la red</translation>
    </message>
    <message>
        <source>Reconnecting</source>
        <translation>Reconectando</translation>
    </message>
    <message>
        <source>Network: the route to the VPN server is gone, waiting</source>
        <translation>Network: la ruta al servidor VPN ha desaparecido, esperando</translation>
    </message>
    <message>
        <source>Network: the route to the VPN server is back, reconnecting</source>
        <translation>Network: la ruta al servidor VPN ha vuelto, reconectando</translation>
    </message>
    <message>
        <source>Network: the route to the VPN server changed, reconnecting</source>
        <translation>Network: la ruta al servidor VPN ha cambiado, reconectando</translation>
    </message>
    <message>
        <source>Network: the computer woke up, reconnecting</source>
        <translation>Network: el equipo se ha reactivado, reconectando</translation>
    </message>
    <message>
        <source>Network: OpenVPN is reconnecting by itself</source>
        <translation>Network: OpenVPN se está reconectando por sí mismo</translation>
    </message>
    <message>
        <source>Network: reconnected in %1 s</source>
        <translation>Network: reconectado en %1 s</translation>
    </message>
    <message>
        <source>Network: the route to the VPN server is not watched (%1)</source>
        <translation>Network: la ruta al servidor VPN no se vigila (%1)</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>Unknown error.</source>
        <translation>Error desconocido.</translation>
    </message>
    <message>
        <source>Can&apos;t connect to server within given time interval.</source>
        <translation>No se pudo conectar con el servidor en el tiempo establecido.</translation>
    </message>
    <message>
        <source>Can&apos;t connect to server.</source>
        <translation>No se pudo conectar con el servidor.</translation>
    </message>
    <message>
        <source>Requested data not found on server.</source>
        <translation>No se encontraron los datos solicitados en el servidor.</translation>
    </message>
    <message>
        <source>Proxy connection error. Turn off system proxy.</source>
        <translation>Error de conexión con el proxy. Desactive el proxy del sistema.</translation>
    </message>
    <message>
        <source>[9]: removed a line containing a zero byte from the downloaded configuration</source>
        <translation>[9]: se eliminó de la configuración descargada una línea con un byte nulo</translation>
    </message>
    <message>
        <source>[9]: removed directive &quot;%1&quot; from the downloaded configuration</source>
        <translation>[9]: se eliminó la directiva &quot;%1&quot; de la configuración descargada</translation>
    </message>
    <message>
        <source>[9]: the downloaded configuration could not be made safe and was discarded</source>
        <translation>[9]: no se pudo hacer segura la configuración descargada y se descartó</translation>
    </message>
    <message>
        <source>d </source>
        <translation>d </translation>
    </message>
    <message>
        <source> h </source>
        <translation> h </translation>
    </message>
    <message>
        <source> m </source>
        <translation> min </translation>
    </message>
    <message>
        <source> s</source>
        <translation> s</translation>
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
        <translation>%0 día</translation>
    </message>
    <message>
        <source>%0 days</source>
        <comment>special ending</comment>
        <translation>%0 días</translation>
    </message>
    <message>
        <source>%0 days</source>
        <comment>plural ending</comment>
        <translation>%0 días</translation>
    </message>
    <message>
        <source>%0 hour</source>
        <comment>singular ending</comment>
        <translation>%0 hora</translation>
    </message>
    <message>
        <source>%0 hours</source>
        <comment>special ending</comment>
        <translation>%0 horas</translation>
    </message>
    <message>
        <source>%0 hours</source>
        <comment>plural ending</comment>
        <translation>%0 horas</translation>
    </message>
    <message>
        <source>%0 m</source>
        <translation>%0 min</translation>
    </message>
    <message>
        <source>%0 s</source>
        <translation>%0 s</translation>
    </message>
    <message>
        <source>left</source>
        <comment>days, singular ending</comment>
        <translation>queda</translation>
    </message>
    <message>
        <source>left</source>
        <comment>days, special ending</comment>
        <translation>quedan</translation>
    </message>
    <message>
        <source>left</source>
        <comment>days, plural ending</comment>
        <translation>quedan</translation>
    </message>
    <message>
        <source>left</source>
        <comment>hours, singular ending</comment>
        <translation>queda</translation>
    </message>
    <message>
        <source>left</source>
        <comment>hours, special ending</comment>
        <translation>quedan</translation>
    </message>
    <message>
        <source>left</source>
        <comment>hours, plural ending</comment>
        <translation>quedan</translation>
    </message>
    <message>
        <source>left</source>
        <comment>minutes, singular ending</comment>
        <translation>queda</translation>
    </message>
    <message>
        <source>left</source>
        <comment>minutes, special ending</comment>
        <translation>quedan</translation>
    </message>
    <message>
        <source>left</source>
        <comment>minutes, plural ending</comment>
        <translation>quedan</translation>
    </message>
    <message>
        <source>[9]: the configuration was refused: %1</source>
        <translation>[9]: se rechazó la configuración: %1</translation>
    </message>
</context>
<context>
    <name>RequestLog</name>
    <message>
        <source>Request to Kestrune server was sent: </source>
        <translation>Solicitud enviada al servidor de Kestrune: </translation>
    </message>
    <message>
        <source>Server reply on %0</source>
        <translation>Respuesta del servidor a %0</translation>
    </message>
    <message>
        <source>&quot;declined&quot; server reply</source>
        <translation>el servidor respondió &quot;declined&quot;</translation>
    </message>
    <message>
        <source>Unable to decode server reply</source>
        <translation>No se pudo descodificar la respuesta del servidor</translation>
    </message>
    <message>
        <source>. Details:</source>
        <translation>. Detalles:</translation>
    </message>
    <message>
        <source>Invalid subscription type</source>
        <translation>Tipo de suscripción no válido</translation>
    </message>
    <message>
        <source>Wrong server data</source>
        <translation>Datos del servidor incorrectos</translation>
    </message>
    <message>
        <source>There are SSL errors occurred during request to server. Details:</source>
        <translation>Se produjeron errores SSL durante la solicitud al servidor. Detalles:</translation>
    </message>
</context>
<context>
    <name>SettingsStore</name>
    <message>
        <source>App&apos;s settings saved in file: %0</source>
        <translation>Ajustes de la aplicación guardados en el archivo: %0</translation>
    </message>
    <message>
        <source>App&apos;s settings saving error: file %0 cannot be written (%1)</source>
        <translation>Error al guardar los ajustes de la aplicación: no se puede escribir el archivo %0 (%1)</translation>
    </message>
    <message>
        <source>App&apos;s settings file has lines that cannot be read, a copy is kept in file: %0</source>
        <translation>El archivo de ajustes de la aplicación tiene líneas ilegibles; se guardó una copia en el archivo: %0</translation>
    </message>
    <message>
        <source>App&apos;s settings loaded from file: %0</source>
        <translation>Ajustes de la aplicación cargados del archivo: %0</translation>
    </message>
    <message>
        <source>App&apos;s settings saving error: invalid subscription type (%0)</source>
        <translation>Error al guardar los ajustes de la aplicación: tipo de suscripción no válido (%0)</translation>
    </message>
    <message>
        <source>App&apos;s settings loading error: invalid subscription type (%0)</source>
        <translation>Error al cargar los ajustes de la aplicación: tipo de suscripción no válido (%0)</translation>
    </message>
    <message>
        <source>login data</source>
        <translation>datos de inicio de sesión</translation>
    </message>
    <message>
        <source>general</source>
        <translation>generales</translation>
    </message>
    <message>
        <source>favorites</source>
        <translation>favoritos</translation>
    </message>
    <message>
        <source>last connection data</source>
        <translation>datos de la última conexión</translation>
    </message>
    <message>
        <source>VPN server&apos;s favorite IP</source>
        <translation>IP favorita del servidor VPN</translation>
    </message>
    <message>
        <source>app&apos;s language</source>
        <translation>idioma de la aplicación</translation>
    </message>
    <message>
        <source>stat window</source>
        <translation>ventana de estadísticas</translation>
    </message>
    <message>
        <source>last launched version</source>
        <translation>última versión iniciada</translation>
    </message>
    <message>
        <source>emergency addresses</source>
        <translation>direcciones de emergencia</translation>
    </message>
    <message>
        <source>additional</source>
        <translation>adicionales</translation>
    </message>
</context>
<context>
    <name>ShadowsocksProcess</name>
    <message>
        <source>[Shadowsocks]: already running, not started again</source>
        <translation>[Shadowsocks]: ya se está ejecutando, no se inicia de nuevo</translation>
    </message>
    <message>
        <source>[Shadowsocks]: process successfully stopped</source>
        <translation>[Shadowsocks]: proceso detenido correctamente</translation>
    </message>
    <message>
        <source>[Shadowsocks]: process stopping error</source>
        <translation>[Shadowsocks]: error al detener el proceso</translation>
    </message>
    <message>
        <source>[Shadowsocks]: %1</source>
        <translation>[Shadowsocks]: %1</translation>
    </message>
    <message>
        <source>[Shadowsocks]: an error occurred. Stopping...</source>
        <translation>[Shadowsocks]: se produjo un error. Deteniendo...</translation>
    </message>
    <message>
        <source>[Shadowsocks]: state changed to running</source>
        <translation>[Shadowsocks]: estado cambiado a «en ejecución»</translation>
    </message>
    <message>
        <source>[Shadowsocks]: state changed to stopped</source>
        <translation>[Shadowsocks]: estado cambiado a «detenido»</translation>
    </message>
</context>
<context>
    <name>SlidingButton</name>
    <message>
        <source>Form</source>
        <translation>Formulario</translation>
    </message>
    <message>
        <source>Left Value</source>
        <translation>Valor izquierdo</translation>
    </message>
    <message>
        <source>Right Value</source>
        <translation>Valor derecho</translation>
    </message>
    <message>
        <source>PushButton</source>
        <translation>Botón</translation>
    </message>
</context>
<context>
    <name>StatWidget</name>
    <message>
        <source>StatWidget</source>
        <translation>Estadísticas</translation>
    </message>
    <message>
        <source>Time:</source>
        <translation>Tiempo:</translation>
    </message>
    <message>
        <source>0 s</source>
        <translation>0 s</translation>
    </message>
    <message>
        <source>Speed</source>
        <translation>Velocidad</translation>
    </message>
    <message>
        <source>Download:</source>
        <translation>Descarga:</translation>
    </message>
    <message>
        <source>0 b/s</source>
        <translation>0 b/s</translation>
    </message>
    <message>
        <source>Upload:</source>
        <translation>Subida:</translation>
    </message>
    <message>
        <source>Traffic</source>
        <translation>Tráfico</translation>
    </message>
    <message>
        <source>In:</source>
        <translation>Recibido:</translation>
    </message>
    <message>
        <source>0 B</source>
        <translation>0 B</translation>
    </message>
    <message>
        <source>Out:</source>
        <translation>Enviado:</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Cerrar</translation>
    </message>
</context>
<context>
    <name>VPNServerItem</name>
    <message>
        <source>Favorite</source>
        <translation>Favorito</translation>
    </message>
</context>
<context>
    <name>VPNProcess</name>
    <message>
        <source>[OpenVPN]: cannot start %1</source>
        <translation>[OpenVPN]: no se puede iniciar %1</translation>
    </message>
    <message>
        <source>Shutting down another active openvpn process</source>
        <translation>Cerrando otro proceso activo de OpenVPN</translation>
    </message>
    <message>
        <source>[OpenVPN]: state changed to running</source>
        <translation>[OpenVPN]: estado cambiado a «en ejecución»</translation>
    </message>
    <message>
        <source>[OpenVPN]: state changed to stopped</source>
        <translation>[OpenVPN]: estado cambiado a «detenido»</translation>
    </message>
    <message>
        <source>[OpenVPN]: management interface did not answer</source>
        <translation>[OpenVPN]: la interfaz de administración no respondió</translation>
    </message>
</context>
</TS>
