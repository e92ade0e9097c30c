<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>CabinetImport</name>
    <message>
        <source>gives the module %1 the cabinet %2, which line %3 gave the cabinet %4: the later line labels its channels</source>
        <translation>gibt dem Modul %1 den Schrank %2, dem Zeile %3 den Schrank %4 gab: Die spätere Zeile beschriftet seine Kanäle</translation>
    </message>
    <message>
        <source>names the columns (CABINET, MODULE): taken for a heading</source>
        <translation>benennt die Spalten (CABINET, MODULE): als Überschrift genommen</translation>
    </message>
    <message>
        <source>separates the cabinet and the module with &apos;;&apos; instead of &apos;,&apos;</source>
        <translation>trennt Schrank und Modul mit „;“ statt mit „,“</translation>
    </message>
    <message>
        <source>repeats line %1</source>
        <translation>wiederholt Zeile %1</translation>
    </message>
    <message>
        <source>holds one field, not a cabinet and a module</source>
        <translation>enthält ein Feld, nicht Schrank und Modul</translation>
    </message>
    <message>
        <source>holds more fields than a cabinet and a module</source>
        <translation>enthält mehr Felder als Schrank und Modul</translation>
    </message>
    <message>
        <source>has an empty cabinet or module</source>
        <translation>hat einen leeren Schrank oder ein leeres Modul</translation>
    </message>
    <message>
        <source>opens a quote that nothing closes</source>
        <translation>öffnet ein Anführungszeichen, das nichts schließt</translation>
    </message>
    <message>
        <source>holds bytes that are no text (NUL or control bytes)</source>
        <translation>enthält Bytes, die kein Text sind (NUL oder Steuerbytes)</translation>
    </message>
</context>
<context>
    <name>CabinetLabels</name>
    <message>
        <source>The cabinet-module table has too many rows to be applied</source>
        <translation>Die Schrank-Modul-Tabelle hat zu viele Zeilen, um angewendet zu werden</translation>
    </message>
    <message>
        <source>The channel designation &apos;%1&apos; has no &apos;.&apos;, so it names no module skeleton</source>
        <translation>Die Kanalbezeichnung „%1“ enthält keinen „.“ und nennt daher kein Modulschema</translation>
    </message>
    <message>
        <source>The channel designation &apos;%1&apos; has no &apos;.&apos;, so it names no module skeleton (%2 designations without &apos;.&apos; in all)</source>
        <translation>Die Kanalbezeichnung „%1“ enthält keinen „.“ und nennt daher kein Modulschema (insgesamt %2 Bezeichnungen ohne „.“)</translation>
    </message>
</context>
<context>
    <name>CabinetTable</name>
    <message>
        <source>The import file &apos;%1&apos; is larger than 128 MiB: it is not imported</source>
        <translation>Die Importdatei „%1“ ist größer als 128 MiB: Sie wird nicht importiert</translation>
    </message>
</context>
<context>
    <name>ChangesFolder</name>
    <message>
        <source>Changes</source>
        <translation>Änderungen</translation>
    </message>
</context>
<context>
    <name>Checks</name>
    <message>
        <source>no element uses module %1 (cabinet %2)</source>
        <translation>kein Element nutzt das Modul %1 (Schrank %2)</translation>
    </message>
    <message>
        <source>A cabinet-module table row whose module no element uses</source>
        <translation>Eine Zeile der Schrank-Modul-Tabelle, deren Modul kein Element nutzt</translation>
    </message>
    <message>
        <source>row %1</source>
        <translation>Zeile %1 der Tabelle</translation>
    </message>
    <message>
        <source>line %1</source>
        <translation>Zeile %1</translation>
    </message>
    <message>
        <source>designation %1 is also at line %2</source>
        <translation>Bezeichnung %1 steht auch in Zeile %2</translation>
    </message>
    <message>
        <source>designation %1 is also at line %2; %3 elements share it</source>
        <translation>Bezeichnung %1 steht auch in Zeile %2; %3 Elemente tragen sie</translation>
    </message>
    <message>
        <source>The same item designation on two elements of one export</source>
        <translation>Dieselbe Bezeichnung an zwei Elementen eines Exports</translation>
    </message>
    <message>
        <source>NAME &apos;%1&apos; is also on %2 at line %3</source>
        <translation>NAME &apos;%1&apos; trägt auch %2 in Zeile %3</translation>
    </message>
    <message>
        <source>NAME &apos;%1&apos; is also on %2 at line %3; %4 elements share it</source>
        <translation>NAME &apos;%1&apos; trägt auch %2 in Zeile %3; %4 Elemente tragen ihn</translation>
    </message>
    <message>
        <source>The same NAME on two elements of one export</source>
        <translation>Derselbe NAME an zwei Elementen eines Exports</translation>
    </message>
    <message>
        <source>NAME &apos;%1&apos; is also used in node %2 (%3)</source>
        <translation>NAME &apos;%1&apos; wird auch in Knoten %2 verwendet (%3)</translation>
    </message>
    <message>
        <source>NAME &apos;%1&apos; is also used in node %2 (%3); %4 exports of other nodes use it</source>
        <translation>NAME &apos;%1&apos; wird auch in Knoten %2 verwendet (%3); %4 Exporte anderer Knoten verwenden ihn</translation>
    </message>
    <message>
        <source>The same NAME in the exports of two nodes of a plant</source>
        <translation>Derselbe NAME in den Exporten zweier Knoten einer Anlage</translation>
    </message>
    <message>
        <source>the element has no DESCR</source>
        <translation>das Element hat keine DESCR</translation>
    </message>
    <message>
        <source>An element without a DESCR (types that have one)</source>
        <translation>Ein Element ohne DESCR (bei Typen, die eine haben)</translation>
    </message>
    <message>
        <source>the element has no NAME</source>
        <translation>das Element hat keinen NAME</translation>
    </message>
    <message>
        <source>An element without a NAME</source>
        <translation>Ein Element ohne NAME</translation>
    </message>
    <message>
        <source>module %1 is given cabinet %2 here and cabinet %3 at %4; this row labels its channels</source>
        <translation>Modul %1 erhält hier Schrank %2 und in %4 Schrank %3; diese Zeile beschriftet seine Kanäle</translation>
    </message>
    <message>
        <source>A module given two different cabinets in the cabinet-module table</source>
        <translation>Ein Modul mit zwei verschiedenen Schränken in der Schrank-Modul-Tabelle</translation>
    </message>
    <message>
        <source>designation %1 names no module: it holds no &apos;.&apos;</source>
        <translation>Bezeichnung %1 nennt kein Modul: sie enthält keinen &apos;.&apos;</translation>
    </message>
    <message>
        <source>module %1 is not in the cabinet-module table (one channel)</source>
        <translation>Modul %1 fehlt in der Schrank-Modul-Tabelle (ein Kanal)</translation>
    </message>
    <message>
        <source>module %1 is not in the cabinet-module table (%2 channels)</source>
        <translation>Modul %1 fehlt in der Schrank-Modul-Tabelle (%2 Kanäle)</translation>
    </message>
    <message>
        <source>An AI, AO, DI or DO module that the cabinet-module table lacks</source>
        <translation>Ein AI-, AO-, DI- oder DO-Modul, das in der Schrank-Modul-Tabelle fehlt</translation>
    </message>
    <message>
        <source>RANGEMIN %1 is not below RANGEMAX %2</source>
        <translation>RANGEMIN %1 liegt nicht unter RANGEMAX %2</translation>
    </message>
    <message>
        <source>RANGEMIN at or above RANGEMAX, both numbers (AI, AO)</source>
        <translation>RANGEMIN gleich oder über RANGEMAX, beides Zahlen (AI, AO)</translation>
    </message>
    <message>
        <source>%1 &apos;%2&apos; is not a number</source>
        <translation>%1 &apos;%2&apos; ist keine Zahl</translation>
    </message>
    <message>
        <source>RANGEMIN or RANGEMAX present but not a number (AI, AO)</source>
        <translation>RANGEMIN oder RANGEMAX vorhanden, aber keine Zahl (AI, AO)</translation>
    </message>
    <message>
        <source>The checks were cancelled.</source>
        <translation>Die Prüfungen wurden abgebrochen.</translation>
    </message>
    <message>
        <source>the designation is longer than 15 characters: every output shows %1</source>
        <translation>die Bezeichnung ist länger als 15 Zeichen: jede Ausgabe zeigt %1</translation>
    </message>
    <message>
        <source>%1 is longer than 30 characters: every output shows &apos;%2&apos;</source>
        <translation>%1 ist länger als 30 Zeichen: jede Ausgabe zeigt &apos;%2&apos;</translation>
    </message>
    <message>
        <source>A value longer than the 30 characters (15 for a designation) that every output keeps</source>
        <translation>Ein Wert länger als die 30 Zeichen (15 bei einer Bezeichnung), die jede Ausgabe behält</translation>
    </message>
</context>
<context>
    <name>Comparison</name>
    <message>
        <source>The comparison was cancelled</source>
        <translation>Der Vergleich wurde abgebrochen</translation>
    </message>
    <message>
        <source>too many elements of one type to compare</source>
        <translation>zu viele Elemente eines Typs zum Vergleichen</translation>
    </message>
    <message>
        <source>No folder for temporary files: %1</source>
        <translation>Kein Ordner für temporäre Dateien: %1</translation>
    </message>
    <message>
        <source>Cannot create a temporary file in &apos;%1&apos;: %2</source>
        <translation>In „%1“ kann keine temporäre Datei angelegt werden: %2</translation>
    </message>
    <message>
        <source>Cannot write the changes to a temporary file in &apos;%1&apos;: %2</source>
        <translation>Die Änderungen können nicht in eine temporäre Datei in „%1“ geschrieben werden: %2</translation>
    </message>
    <message>
        <source>Cannot read the changes back from a temporary file in &apos;%1&apos;: %2</source>
        <translation>Die Änderungen können nicht aus der temporären Datei in „%1“ zurückgelesen werden: %2</translation>
    </message>
</context>
<context>
    <name>ComparisonSummary</name>
    <message>
        <source>DataBase element</source>
        <translation>Datenbankelement</translation>
    </message>
    <message>
        <source>Added</source>
        <translation>Hinzugefügt</translation>
    </message>
    <message>
        <source>Removed</source>
        <translation>Entfernt</translation>
    </message>
    <message>
        <source>Changed</source>
        <translation>Geändert</translation>
    </message>
    <message>
        <source>Unchanged</source>
        <translation>Unverändert</translation>
    </message>
    <message>
        <source>not compared</source>
        <translation>nicht verglichen</translation>
    </message>
    <message>
        <source>Click a type to show only its changes.</source>
        <translation>Klicken Sie auf einen Typ, um nur seine Änderungen anzuzeigen.</translation>
    </message>
</context>
<context>
    <name>Desktop</name>
    <message>
        <source>No program could be started to open it. Open it by hand:<byte value="xd"/>
%1</source>
        <translation>Es konnte kein Programm gestartet werden, um es zu öffnen. Bitte von Hand öffnen:<byte value="xd"/>
%1</translation>
    </message>
</context>
<context>
    <name>ElementLoader</name>
    <message>
        <source>The folder &apos;%1&apos; cannot be read: %2.</source>
        <translation>Der Ordner &apos;%1&apos; kann nicht gelesen werden: %2.</translation>
    </message>
    <message>
        <source>The loading of the elements was cancelled.</source>
        <translation>Das Laden der Elemente wurde abgebrochen.</translation>
    </message>
</context>
<context>
    <name>ElementTable</name>
    <message>
        <source>Too many exports for one element table.</source>
        <translation>Zu viele Exporte für eine Elementtabelle.</translation>
    </message>
    <message>
        <source>Too many elements for one element table.</source>
        <translation>Zu viele Elemente für eine Elementtabelle.</translation>
    </message>
</context>
<context>
    <name>ElementType</name>
    <message>
        <source>Analog Input</source>
        <translation>Analogeingang</translation>
    </message>
    <message>
        <source>Analog Input Calc.</source>
        <translation>Analogeingang (ber.)</translation>
    </message>
    <message>
        <source>Analog Input Calculated</source>
        <translation>Analogeingang (berechnet)</translation>
    </message>
    <message>
        <source>Analog Output</source>
        <translation>Analogausgang</translation>
    </message>
    <message>
        <source>Analog Output Calc.</source>
        <translation>Analogausgang (ber.)</translation>
    </message>
    <message>
        <source>Analog Output Calculated</source>
        <translation>Analogausgang (berechnet)</translation>
    </message>
    <message>
        <source>Digital Input</source>
        <translation>Digitaleingang</translation>
    </message>
    <message>
        <source>Digital Input Calc.</source>
        <translation>Digitaleingang (ber.)</translation>
    </message>
    <message>
        <source>Digital Input Calculated</source>
        <translation>Digitaleingang (berechnet)</translation>
    </message>
    <message>
        <source>Digital Output</source>
        <translation>Digitalausgang</translation>
    </message>
    <message>
        <source>Digital Output Calc.</source>
        <translation>Digitalausgang (ber.)</translation>
    </message>
    <message>
        <source>Digital Output Calculated</source>
        <translation>Digitalausgang (berechnet)</translation>
    </message>
</context>
<context>
    <name>ExportFile</name>
    <message>
        <source>&apos;%1&apos; changed while it was being scanned</source>
        <translation>„%1“ hat sich während der Suche geändert</translation>
    </message>
    <message>
        <source>1 line of &apos;%1&apos; is longer than %2: only its first %2 was read.</source>
        <translation>1 Zeile von „%1“ ist länger als %2: Nur ihre ersten %2 wurden gelesen.</translation>
    </message>
    <message>
        <source>%1 lines of &apos;%2&apos; are longer than %3: only the first %3 of each was read.</source>
        <translation>%1 Zeilen von „%2“ sind länger als %3: Von jeder wurden nur die ersten %3 gelesen.</translation>
    </message>
</context>
<context>
    <name>Files</name>
    <message>
        <source>Cannot look for &apos;%1&apos;: %2</source>
        <translation>Nach „%1“ kann nicht gesucht werden: %2</translation>
    </message>
    <message>
        <source>Cannot create the folder &apos;%1&apos;: %2</source>
        <translation>Der Ordner „%1“ kann nicht angelegt werden: %2</translation>
    </message>
    <message>
        <source>Cannot write &apos;%1&apos;: %2</source>
        <translation>„%1“ kann nicht geschrieben werden: %2</translation>
    </message>
    <message>
        <source>Cannot write &apos;%1&apos;: something else took that name while the result was being written</source>
        <translation>„%1“ kann nicht geschrieben werden: Etwas anderes hat diesen Namen belegt, während das Ergebnis geschrieben wurde</translation>
    </message>
    <message>
        <source>Cannot create &apos;%1&apos;: %2</source>
        <translation>„%1“ kann nicht angelegt werden: %2</translation>
    </message>
    <message>
        <source>Cannot create a folder in &apos;%1&apos;: %2</source>
        <translation>In „%1“ kann kein Ordner angelegt werden: %2</translation>
    </message>
    <message>
        <source>&apos;%1&apos; cannot name a file in a folder</source>
        <translation>„%1“ kann keine Datei in einem Ordner bezeichnen</translation>
    </message>
    <message>
        <source>Cannot open the folder &apos;%1&apos;: %2</source>
        <translation>Der Ordner „%1“ kann nicht geöffnet werden: %2</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is a symbolic link: results are never written through a link</source>
        <translation>„%1“ ist eine symbolische Verknüpfung: Ergebnisse werden nie über eine Verknüpfung geschrieben</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is not a folder</source>
        <translation>„%1“ ist kein Ordner</translation>
    </message>
</context>
<context>
    <name>FindingsFile</name>
    <message>
        <source>Checks</source>
        <translation>Prüfungen</translation>
    </message>
    <message>
        <source>A workbook sheet holds %1 rows: the %2 findings shown do not fit. Narrow them down, or write a CSV file.</source>
        <translation>Ein Arbeitsblatt fasst %1 Zeilen: die %2 angezeigten Befunde passen nicht hinein. Schränken Sie sie ein, oder schreiben Sie eine CSV-Datei.</translation>
    </message>
</context>
<context>
    <name>NodeInfo</name>
    <message>
        <source>&apos;%1&apos; is not a node export: it holds neither node information nor any element. Nothing was scanned.</source>
        <translation>&apos;%1&apos; ist kein Knotenexport: Die Datei enthält weder Knoteninformationen noch ein Element. Es wurde nichts durchsucht.</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is not a node export: it holds neither node information nor any element. Nothing was compared.</source>
        <translation>„%1“ ist kein Knotenexport: Die Datei enthält weder Knoteninformationen noch Elemente. Es wurde nichts verglichen.</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is not a node export: it holds neither node information nor any element. It has no elements to list.</source>
        <translation>&apos;%1&apos; ist kein Knotenexport: Die Datei enthält weder Knoteninformationen noch ein Element. Es gibt keine Elemente aufzulisten.</translation>
    </message>
</context>
<context>
    <name>OverwriteQuestion</name>
    <message>
        <source>File &apos;%1&apos; already exists. <byte value="xd"/>
Do you want to replace it ?</source>
        <translation>Die Datei „%1“ ist bereits vorhanden.<byte value="xd"/>
Möchten Sie sie ersetzen?</translation>
    </message>
    <message>
        <source>File &apos;%1&apos; already exists. <byte value="xd"/>
Do you want to replace this file and related &apos;preview.html&apos; and &apos;index.html&apos; files ?</source>
        <translation>Die Datei „%1“ ist bereits vorhanden.<byte value="xd"/>
Möchten Sie diese Datei und die zugehörigen Dateien „preview.html“ und „index.html“ ersetzen?</translation>
    </message>
</context>
<context>
    <name>ResultFolder</name>
    <message>
        <source>No scan result folder is set: choose one in the options</source>
        <translation>Es ist kein Ergebnisordner festgelegt: Wählen Sie einen in den Optionen.</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is being written by another scan</source>
        <translation>In „%1“ schreibt gerade eine andere Suche</translation>
    </message>
    <message>
        <source>Cannot lock &apos;%1&apos;: its lock file %2 is a symbolic link</source>
        <translation>„%1“ kann nicht gesperrt werden: seine Sperrdatei %2 ist eine symbolische Verknüpfung</translation>
    </message>
    <message>
        <source>Cannot lock &apos;%1&apos;: %2</source>
        <translation>„%1“ kann nicht gesperrt werden: %2</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is being written by a scan on the computer &apos;%2&apos; (its lock is %3 old)</source>
        <translation>In „%1“ schreibt eine Suche auf dem Computer „%2“ (ihre Sperre ist %3 alt)</translation>
    </message>
    <message>
        <source>1 second</source>
        <translation>1 Sekunde</translation>
    </message>
    <message>
        <source>%1 seconds</source>
        <translation>%1 Sekunden</translation>
    </message>
    <message>
        <source>1 minute</source>
        <translation>1 Minute</translation>
    </message>
    <message>
        <source>%1 minutes</source>
        <translation>%1 Minuten</translation>
    </message>
    <message>
        <source>1 hour</source>
        <translation>1 Stunde</translation>
    </message>
    <message>
        <source>%1 hours</source>
        <translation>%1 Stunden</translation>
    </message>
    <message>
        <source>1 day</source>
        <translation>1 Tag</translation>
    </message>
    <message>
        <source>%1 days</source>
        <translation>%1 Tage</translation>
    </message>
    <message>
        <source>Cannot lock &apos;%1&apos;: its lock file belongs to the user %2 (process %3 on &apos;%4&apos;), and you may not write it. When no scan of theirs runs any more, run again with --break-lock</source>
        <translation>„%1“ kann nicht gesperrt werden: Die Sperrdatei gehört dem Benutzer %2 (Prozess %3 auf „%4“) und darf von Ihnen nicht geschrieben werden. Wenn dort keine Suche mehr läuft, starten Sie erneut mit --break-lock</translation>
    </message>
    <message>
        <source>the folder&apos;s sticky bit lets only the file&apos;s or the folder&apos;s owner remove it</source>
        <translation>das Sticky-Bit des Ordners lässt nur den Besitzer der Datei oder des Ordners sie entfernen</translation>
    </message>
    <message>
        <source>Cannot take over the lock of &apos;%1&apos; that process %2 of the user %3 left behind: %4</source>
        <translation>Die Sperre von „%1“, die Prozess %2 des Benutzers %3 hinterlassen hat, kann nicht übernommen werden: %4</translation>
    </message>
</context>
<context>
    <name>ScanRun</name>
    <message>
        <source>Reading the %1 elements stopped: %2</source>
        <translation>Das Lesen der %1-Elemente wurde abgebrochen: %2</translation>
    </message>
    <message>
        <source>nothing left to read</source>
        <translation>es ist nichts mehr zu lesen</translation>
    </message>
    <message>
        <source>the scan was cancelled</source>
        <translation>die Suche wurde abgebrochen</translation>
    </message>
    <message>
        <source>Reading &apos;%1&apos; parameters...</source>
        <translation>Parameter von „%1“ werden gelesen...</translation>
    </message>
    <message>
        <source>Writing to HTML report files - &apos;%1&apos; elements...</source>
        <translation>HTML-Bericht wird geschrieben – „%1“-Elemente...</translation>
    </message>
    <message>
        <source>Convert Completed</source>
        <translation>Umwandlung abgeschlossen</translation>
    </message>
    <message>
        <source>Converting to Excel (sheets) files - &apos;%1&apos; elements...</source>
        <translation>Umwandlung in Excel-Dateien (Tabellenblätter) – „%1“-Elemente...</translation>
    </message>
    <message>
        <source>Converting to one Excel file - &apos;%1&apos; elements...</source>
        <translation>Umwandlung in eine Excel-Datei – „%1“-Elemente...</translation>
    </message>
    <message>
        <source>The workbook of this scan is not saved.</source>
        <translation>Die Arbeitsmappe dieser Suche wurde nicht gespeichert.</translation>
    </message>
    <message>
        <source>The scan was cancelled</source>
        <translation>Die Suche wurde abgebrochen</translation>
    </message>
    <message>
        <source>Saving the Excel files...</source>
        <translation>Excel-Dateien werden gespeichert...</translation>
    </message>
    <message>
        <source>Saving the Excel file...</source>
        <translation>Excel-Datei wird gespeichert...</translation>
    </message>
</context>
<context>
    <name>SettingsFile</name>
    <message>
        <source>no settings file named</source>
        <translation>keine Einstellungsdatei angegeben</translation>
    </message>
    <message>
        <source>the settings file &apos;%1&apos; cannot be created: its folder does not exist</source>
        <translation>die Einstellungsdatei „%1“ kann nicht angelegt werden: Ihr Ordner ist nicht vorhanden</translation>
    </message>
    <message>
        <source>the settings file &apos;%1&apos; cannot be created: %2</source>
        <translation>die Einstellungsdatei „%1“ kann nicht angelegt werden: %2</translation>
    </message>
    <message>
        <source>the settings file &apos;%1&apos; is a folder</source>
        <translation>die Einstellungsdatei „%1“ ist ein Ordner</translation>
    </message>
    <message>
        <source>the settings file &apos;%1&apos; is not a regular file</source>
        <translation>die Einstellungsdatei „%1“ ist keine normale Datei</translation>
    </message>
    <message>
        <source>the settings file &apos;%1&apos; cannot be read: %2</source>
        <translation>die Einstellungsdatei „%1“ kann nicht gelesen werden: %2</translation>
    </message>
    <message>
        <source>the settings file &apos;%1&apos; holds binary data, not settings</source>
        <translation>die Einstellungsdatei „%1“ enthält Binärdaten, keine Einstellungen</translation>
    </message>
    <message>
        <source>the settings file &apos;%1&apos; cannot be read</source>
        <translation>die Einstellungsdatei „%1“ kann nicht gelesen werden</translation>
    </message>
    <message>
        <source>the settings file &apos;%1&apos; is not a settings file in INI form</source>
        <translation>die Einstellungsdatei „%1“ ist keine Einstellungsdatei im INI-Format</translation>
    </message>
</context>
<context>
    <name>SingleInstance</name>
    <message>
        <source>%1 is already running</source>
        <translation>%1 läuft bereits</translation>
    </message>
</context>
<context>
    <name>SkippedFiles</name>
    <message>
        <source>%1 (%2)</source>
        <translation>%1 (%2)</translation>
    </message>
    <message>
        <source>not a node export</source>
        <translation>kein Knotenexport</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>Skipped %1 files: %2; and %3 more</source>
        <translation>%1 Dateien übersprungen: %2; und %3 weitere</translation>
    </message>
    <message>
        <source>Skipped: %1</source>
        <translation>Übersprungen: %1</translation>
    </message>
</context>
<context>
    <name>StandardError</name>
    <message>
        <source>Out of memory</source>
        <translation>Nicht genügend Arbeitsspeicher</translation>
    </message>
    <message>
        <source>Unexpected error</source>
        <translation>Unerwarteter Fehler</translation>
    </message>
</context>
<context>
    <name>Statistics</name>
    <message>
        <source>Statistic file for node &apos;%1&apos; already exists. Do you want to replace it ?</source>
        <translation>Die Statistikdatei für den Knoten „%1“ ist bereits vorhanden. Möchten Sie sie ersetzen?</translation>
    </message>
    <message>
        <source>Statistic file %1 saved in %2 folder</source>
        <translation>Statistikdatei %1 wurde im Ordner %2 gespeichert</translation>
    </message>
</context>
<context>
    <name>TableExport</name>
    <message>
        <source>CSV Files (*.csv)</source>
        <translation>CSV-Dateien (*.csv)</translation>
    </message>
    <message>
        <source>Excel Workbooks (*.xlsx)</source>
        <translation>Excel-Arbeitsmappen (*.xlsx)</translation>
    </message>
    <message>
        <source>Written: %1</source>
        <translation>Geschrieben: %1</translation>
    </message>
    <message>
        <source>Kept: %1</source>
        <translation>Beibehalten: %1</translation>
    </message>
</context>
<context>
    <name>VisibleRowsFile</name>
    <message>
        <source>Elements</source>
        <translation>Elemente</translation>
    </message>
    <message>
        <source>A workbook sheet holds %1 rows: the %2 elements shown do not fit. Narrow them down, or write a CSV file.</source>
        <translation>Ein Arbeitsblatt fasst %1 Zeilen: Die %2 angezeigten Elemente passen nicht hinein. Grenzen Sie sie ein oder schreiben Sie eine CSV-Datei.</translation>
    </message>
</context>
<context>
    <name>Workbook</name>
    <message>
        <source>The worksheet of the %1 elements in &apos;%2&apos; is full at row %3: the following elements of the type are not in it</source>
        <translation>Das Tabellenblatt der %1-Elemente in „%2“ ist bei Zeile %3 voll: Die weiteren Elemente dieses Typs fehlen darin</translation>
    </message>
</context>
<context>
    <name>qor::gui::AboutBox</name>
    <message>
        <source>About %1</source>
        <translation>Über %1</translation>
    </message>
    <message>
        <source>Version:</source>
        <translation>Version:</translation>
    </message>
    <message>
        <source>Build:</source>
        <translation>Build:</translation>
    </message>
    <message>
        <source>release</source>
        <translation>Release</translation>
    </message>
    <message>
        <source>debug</source>
        <translation>Debug</translation>
    </message>
    <message>
        <source>&amp;OK</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>&amp;System Info...</source>
        <translation>&amp;Systeminformationen...</translation>
    </message>
</context>
<context>
    <name>qor::gui::CabinetImportDialog</name>
    <message>
        <source>Import Preview</source>
        <translation>Importvorschau</translation>
    </message>
    <message>
        <source>Skip the first line: it names the columns</source>
        <translation>Erste Zeile überspringen: Sie benennt die Spalten</translation>
    </message>
    <message>
        <source>Take lines separated by &apos;;&apos; as pairs</source>
        <translation>Durch &apos;;&apos; getrennte Zeilen als Paare übernehmen</translation>
    </message>
    <message>
        <source>&amp;OK</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Abbrechen</translation>
    </message>
    <message>
        <source>Rows from %1 that will replace the table: %2.</source>
        <translation>Zeilen aus %1, die die Tabelle ersetzen: %2.</translation>
    </message>
    <message>
        <source>Lines that give no row: %1 (see the notes).</source>
        <translation>Zeilen ohne Tabellenzeile: %1 (siehe Hinweise).</translation>
    </message>
</context>
<context>
    <name>qor::gui::CabinetImportModel</name>
    <message>
        <source>taken as a row</source>
        <translation>als Tabellenzeile übernommen</translation>
    </message>
    <message>
        <source>taken as a pair separated by &apos;;&apos;</source>
        <translation>als durch &apos;;&apos; getrenntes Paar übernommen</translation>
    </message>
    <message>
        <source>Line</source>
        <translation>Zeile</translation>
    </message>
    <message>
        <source>Text in the file</source>
        <translation>Text in der Datei</translation>
    </message>
    <message>
        <source>Cabinet Name</source>
        <translation>Schrankname</translation>
    </message>
    <message>
        <source>Module Skeleton Name</source>
        <translation>Name des Modulschemas</translation>
    </message>
    <message>
        <source>Note</source>
        <translation>Hinweis</translation>
    </message>
</context>
<context>
    <name>qor::gui::CabinetModuleDialog</name>
    <message>
        <source>&amp;Apply</source>
        <translation>Ü&amp;bernehmen</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>&amp;Schließen</translation>
    </message>
    <message>
        <source>Cabinet | Module Assignment</source>
        <translation>Zuordnung Schrank | Modul</translation>
    </message>
    <message>
        <source>New Cabinet Name, e.g. CB801</source>
        <translation>Neuer Schrankname, z. B. CB801</translation>
    </message>
    <message>
        <source>New Module Skeleton, e.g. AI800_1</source>
        <translation>Neues Modulschema, z. B. AI800_1</translation>
    </message>
    <message>
        <source>&amp;Modify</source>
        <translation>&amp;Ändern</translation>
    </message>
    <message>
        <source>Put both &apos;New Cabinet Name&apos; and &apos;New Module Skeleton&apos;.</source>
        <translation>Geben Sie „Neuer Schrankname“ und „Neues Modulschema“ beide an.</translation>
    </message>
    <message>
        <source>The row %1 | %2 is in the list already.</source>
        <translation>Die Zeile %1 | %2 steht bereits in der Liste.</translation>
    </message>
    <message>
        <source>The module %1 is in the cabinet %2 already. Should the cabinet %3 take it instead?

Yes: %3 takes it. No: it stays in %2.</source>
        <translation>Das Modul %1 ist bereits im Schrank %2. Soll stattdessen der Schrank %3 es aufnehmen?

Ja: %3 nimmt es auf. Nein: Es bleibt in %2.</translation>
    </message>
</context>
<context>
    <name>qor::gui::CabinetTab</name>
    <message>
        <source>Apply above values to search results</source>
        <translation>Obige Werte auf die Suchergebnisse anwenden</translation>
    </message>
    <message>
        <source>Imported File:</source>
        <translation>Importierte Datei:</translation>
    </message>
    <message>
        <source>Items Count:</source>
        <translation>Anzahl Einträge:</translation>
    </message>
    <message>
        <source>Cabinet Name</source>
        <translation>Schrankname</translation>
    </message>
    <message>
        <source>Module Skeleton Name</source>
        <translation>Name des Modulschemas</translation>
    </message>
    <message>
        <source>&amp;Add</source>
        <translation>&amp;Hinzufügen</translation>
    </message>
    <message>
        <source>Add new item to the list</source>
        <translation>Neuen Eintrag zur Liste hinzufügen</translation>
    </message>
    <message>
        <source>&amp;Import</source>
        <translation>&amp;Importieren</translation>
    </message>
    <message>
        <source>Import CSV file</source>
        <translation>CSV-Datei importieren</translation>
    </message>
    <message>
        <source>Apply these &apos;Cabinet|Module&apos; values to search results</source>
        <translation>Diese Werte „Schrank|Modul“ auf die Suchergebnisse anwenden</translation>
    </message>
    <message>
        <source>Comma Separated Values (*.csv)</source>
        <translation>Kommagetrennte Werte (*.csv)</translation>
    </message>
    <message>
        <source>Text Files (*.txt)</source>
        <translation>Textdateien (*.txt)</translation>
    </message>
    <message>
        <source>Do you really want to import values from an external file? Current contents will be cleared.</source>
        <translation>Möchten Sie wirklich Werte aus einer externen Datei importieren? Der aktuelle Inhalt wird gelöscht.</translation>
    </message>
    <message>
        <source>Select File to Import...</source>
        <translation>Datei für den Import wählen...</translation>
    </message>
    <message>
        <source>&amp;Modify</source>
        <translation>&amp;Ändern</translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation>&amp;Löschen</translation>
    </message>
    <message>
        <source>Delete the selected item from the list</source>
        <translation>Den ausgewählten Eintrag aus der Liste löschen</translation>
    </message>
</context>
<context>
    <name>qor::gui::ChangesTableModel</name>
    <message>
        <source>Type</source>
        <translation>Typ</translation>
    </message>
    <message>
        <source>Designation</source>
        <translation>Bezeichnung</translation>
    </message>
    <message>
        <source>Change</source>
        <translation>Änderung</translation>
    </message>
    <message>
        <source>Parameter</source>
        <translation>Parameter</translation>
    </message>
    <message>
        <source>Old</source>
        <translation>Alt</translation>
    </message>
    <message>
        <source>New</source>
        <translation>Neu</translation>
    </message>
    <message>
        <source>added</source>
        <translation>hinzugefügt</translation>
    </message>
    <message>
        <source>removed</source>
        <translation>entfernt</translation>
    </message>
    <message>
        <source>changed</source>
        <translation>geändert</translation>
    </message>
</context>
<context>
    <name>qor::gui::ChecksWindow</name>
    <message>
        <source>&amp;Copy</source>
        <translation>&amp;Kopieren</translation>
    </message>
    <message>
        <source>Checks: %1</source>
        <translation>Prüfungen: %1</translation>
    </message>
    <message>
        <source>No findings: the checks found nothing wrong.</source>
        <translation>Keine Befunde: die Prüfungen fanden nichts Falsches.</translation>
    </message>
    <message>
        <source>%1 findings: %2 errors, %3 warnings, %4 notes</source>
        <translation>%1 Befunde: %2 Fehler, %3 Warnungen, %4 Hinweise</translation>
    </message>
    <message>
        <source>Errors, Warnings and Notes</source>
        <translation>Fehler, Warnungen und Hinweise</translation>
    </message>
    <message>
        <source>Errors and Warnings</source>
        <translation>Fehler und Warnungen</translation>
    </message>
    <message>
        <source>Errors Only</source>
        <translation>Nur Fehler</translation>
    </message>
    <message>
        <source>All Checks (%1)</source>
        <translation>Alle Prüfungen (%1)</translation>
    </message>
    <message>
        <source>%1 (%2)</source>
        <translation>%1 (%2)</translation>
    </message>
    <message>
        <source>&amp;Show:</source>
        <translation>&amp;Zeigen:</translation>
    </message>
    <message>
        <source>C&amp;heck:</source>
        <translation>&amp;Prüfung:</translation>
    </message>
    <message>
        <source>The cabinet checks did not run: no cabinet-module table is applied (Tools &gt; Options).</source>
        <translation>Die Schrank-Prüfungen liefen nicht: keine Schrank-Modul-Tabelle ist angewendet (Extras &gt; Optionen).</translation>
    </message>
    <message>
        <source>&amp;Export...</source>
        <translation>&amp;Exportieren...</translation>
    </message>
    <message>
        <source>Write the findings shown as a CSV file or a workbook</source>
        <translation>Die angezeigten Befunde als CSV-Datei oder Arbeitsmappe schreiben</translation>
    </message>
    <message>
        <source>%1 of %2 findings</source>
        <translation>%1 von %2 Befunden</translation>
    </message>
    <message>
        <source>Export Findings</source>
        <translation>Befunde exportieren</translation>
    </message>
</context>
<context>
    <name>qor::gui::ComparisonWindow</name>
    <message>
        <source>%1   Node %2, %3, generated %4</source>
        <translation>%1   Knoten %2, %3, erzeugt %4</translation>
    </message>
    <message>
        <source>Changes: %1 → %2</source>
        <translation>Änderungen: %1 → %2</translation>
    </message>
    <message>
        <source>Older:</source>
        <translation>Älter:</translation>
    </message>
    <message>
        <source>Newer:</source>
        <translation>Neuer:</translation>
    </message>
    <message>
        <source>All types</source>
        <translation>Alle Typen</translation>
    </message>
    <message>
        <source>All changes</source>
        <translation>Alle Änderungen</translation>
    </message>
    <message>
        <source>Search designations, parameters and values</source>
        <translation>Bezeichnungen, Parameter und Werte durchsuchen</translation>
    </message>
    <message>
        <source>Save as &amp;CSV</source>
        <translation>Als &amp;CSV speichern</translation>
    </message>
    <message>
        <source>Open HTML &amp;Report</source>
        <translation>HTML-&amp;Bericht öffnen</translation>
    </message>
    <message>
        <source>%1 of %2 changes</source>
        <translation>%1 von %2 Änderungen</translation>
    </message>
    <message>
        <source>Written: %1</source>
        <translation>Geschrieben: %1</translation>
    </message>
    <message>
        <source>Kept: %1</source>
        <translation>Beibehalten: %1</translation>
    </message>
    <message>
        <source>The two exports are identical</source>
        <translation>Die beiden Exporte sind identisch</translation>
    </message>
    <message>
        <source>CSV Files (*.csv)</source>
        <translation>CSV-Dateien (*.csv)</translation>
    </message>
    <message>
        <source>Save Changes as CSV</source>
        <translation>Änderungen als CSV speichern</translation>
    </message>
</context>
<context>
    <name>qor::gui::DocumentWindow</name>
    <message>
        <source>Find</source>
        <translation>Suchen</translation>
    </message>
</context>
<context>
    <name>qor::gui::ElementTab</name>
    <message>
        <source>AIS (S100 Cabinet) and AIS8xx (S800 Cabinet)</source>
        <translation>AIS (Schrank S100) und AIS8xx (Schrank S800)</translation>
    </message>
    <message>
        <source>AOS (S100 Cabinet) and AOS8xx (S800 Cabinet)</source>
        <translation>AOS (Schrank S100) und AOS8xx (Schrank S800)</translation>
    </message>
    <message>
        <source>DIS (S100 Cabinet) and DIS8xx (S800 Cabinet)</source>
        <translation>DIS (Schrank S100) und DIS8xx (Schrank S800)</translation>
    </message>
    <message>
        <source>DOS (S100 Cabinet ) and DOS8xx (S800 Cabinet)</source>
        <translation>DOS (Schrank S100) und DOS8xx (Schrank S800)</translation>
    </message>
    <message>
        <source>&amp;Enable Search</source>
        <translation>Suche &amp;aktivieren</translation>
    </message>
    <message>
        <source>Only most valuable parameters for:</source>
        <translation>Nur die wichtigsten Parameter für:</translation>
    </message>
    <message>
        <source>Calculated analog inputs (AIC elements)</source>
        <translation>Berechnete Analogeingänge (AIC-Elemente)</translation>
    </message>
    <message>
        <source>Calculated analog outputs (AOC elements)</source>
        <translation>Berechnete Analogausgänge (AOC-Elemente)</translation>
    </message>
    <message>
        <source>Calculated digital inputs (DIC elements)</source>
        <translation>Berechnete Digitaleingänge (DIC-Elemente)</translation>
    </message>
    <message>
        <source>Calculated digital outputs (DOC elements)</source>
        <translation>Berechnete Digitalausgänge (DOC-Elemente)</translation>
    </message>
    <message>
        <source>PID controllers (PIDCON elements)</source>
        <translation>PID-Regler (PIDCON-Elemente)</translation>
    </message>
    <message>
        <source>Motor controllers (MOTCON elements)</source>
        <translation>Motorsteuerungen (MOTCON-Elemente)</translation>
    </message>
    <message>
        <source>&amp;Select All</source>
        <translation>Alle a&amp;uswählen</translation>
    </message>
    <message>
        <source>C&amp;lear All</source>
        <translation>&amp;Keine auswählen</translation>
    </message>
</context>
<context>
    <name>qor::gui::ElementsTableModel</name>
    <message>
        <source>Designation</source>
        <translation>Bezeichnung</translation>
    </message>
    <message>
        <source>Cabinet</source>
        <translation>Schrank</translation>
    </message>
    <message>
        <source>Module</source>
        <translation>Modul</translation>
    </message>
    <message>
        <source>Type</source>
        <translation>Typ</translation>
    </message>
    <message>
        <source>Node</source>
        <translation>Knoten</translation>
    </message>
    <message>
        <source>File</source>
        <translation>Datei</translation>
    </message>
</context>
<context>
    <name>qor::gui::ElementsWindow</name>
    <message>
        <source>&amp;Copy</source>
        <translation>&amp;Kopieren</translation>
    </message>
    <message>
        <source>Elements: %1</source>
        <translation>Elemente: %1</translation>
    </message>
    <message>
        <source>All Types (%1)</source>
        <translation>Alle Typen (%1)</translation>
    </message>
    <message>
        <source>%1 (%2)</source>
        <translation>%1 (%2)</translation>
    </message>
    <message>
        <source>Selected &amp;Parameters Only</source>
        <translation>Nur ausgewählte &amp;Parameter</translation>
    </message>
    <message>
        <source>Only the parameters selected in the options</source>
        <translation>Nur die in den Optionen ausgewählten Parameter</translation>
    </message>
    <message>
        <source>Filter: a designation, name or value (* and ? allowed)</source>
        <translation>Filter: eine Bezeichnung, ein Name oder ein Wert (* und ? erlaubt)</translation>
    </message>
    <message>
        <source>&amp;Type:</source>
        <translation>&amp;Typ:</translation>
    </message>
    <message>
        <source>&amp;in</source>
        <translation>&amp;in</translation>
    </message>
    <message>
        <source>&amp;Export Visible Rows...</source>
        <translation>Sichtbare Zeilen &amp;exportieren...</translation>
    </message>
    <message>
        <source>Any Column</source>
        <translation>Jede Spalte</translation>
    </message>
    <message>
        <source>%1 of %2 elements</source>
        <translation>%1 von %2 Elementen</translation>
    </message>
    <message>
        <source>Export Visible Rows</source>
        <translation>Sichtbare Zeilen exportieren</translation>
    </message>
</context>
<context>
    <name>qor::gui::ExportTextView</name>
    <message>
        <source>Copy</source>
        <translation>Kopieren</translation>
    </message>
    <message>
        <source>Select All</source>
        <translation>Alles auswählen</translation>
    </message>
    <message>
        <source>The file is too large to show.</source>
        <translation>Die Datei ist zu groß, um sie anzuzeigen.</translation>
    </message>
    <message>
        <source>Out of memory</source>
        <translation>Nicht genügend Arbeitsspeicher</translation>
    </message>
</context>
<context>
    <name>qor::gui::FindBar</name>
    <message>
        <source>F&amp;ind:</source>
        <translation>&amp;Suchen:</translation>
    </message>
    <message>
        <source>&amp;Next</source>
        <translation>&amp;Weiter</translation>
    </message>
    <message>
        <source>&amp;Previous</source>
        <translation>&amp;Zurück</translation>
    </message>
    <message>
        <source>Not found</source>
        <translation>Nicht gefunden</translation>
    </message>
    <message>
        <source>Match &amp;Case</source>
        <translation>&amp;Groß-/Kleinschreibung</translation>
    </message>
    <message>
        <source>%1+</source>
        <translation>%1+</translation>
    </message>
    <message>
        <source>%1 of %2</source>
        <translation>%1 von %2</translation>
    </message>
    <message>
        <source>%1 matches</source>
        <translation>%1 Treffer</translation>
    </message>
</context>
<context>
    <name>qor::gui::FindingsTableModel</name>
    <message>
        <source>Error</source>
        <translation>Fehler</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>Warnung</translation>
    </message>
    <message>
        <source>Note</source>
        <translation>Hinweis</translation>
    </message>
    <message>
        <source>Cabinet-module table</source>
        <translation>Schrank-Modul-Tabelle</translation>
    </message>
    <message>
        <source>Severity</source>
        <translation>Schwere</translation>
    </message>
    <message>
        <source>Check</source>
        <translation>Prüfung</translation>
    </message>
    <message>
        <source>Node</source>
        <translation>Knoten</translation>
    </message>
    <message>
        <source>Type</source>
        <translation>Typ</translation>
    </message>
    <message>
        <source>Designation</source>
        <translation>Bezeichnung</translation>
    </message>
    <message>
        <source>Line</source>
        <translation>Zeile</translation>
    </message>
    <message>
        <source>Finding</source>
        <translation>Befund</translation>
    </message>
    <message>
        <source>File</source>
        <translation>Datei</translation>
    </message>
</context>
<context>
    <name>qor::gui::FolderPage</name>
    <message>
        <source>Search result folder location</source>
        <translation>Speicherort des Ergebnisordners</translation>
    </message>
    <message>
        <source>Current folder path:</source>
        <translation>Aktueller Ordnerpfad:</translation>
    </message>
    <message>
        <source>Scan Result Folder Path</source>
        <translation>Pfad des Ergebnisordners</translation>
    </message>
    <message>
        <source>&amp;Browse...</source>
        <translation>&amp;Durchsuchen...</translation>
    </message>
    <message>
        <source>Choose the Scan Result Folder</source>
        <translation>Ergebnisordner wählen</translation>
    </message>
    <message>
        <source>No folder is chosen.</source>
        <translation>Es ist kein Ordner gewählt.</translation>
    </message>
    <message>
        <source>The path must start at the top of the file system.</source>
        <translation>Der Pfad muss oben im Dateisystem beginnen.</translation>
    </message>
    <message>
        <source>This folder does not exist.</source>
        <translation>Dieser Ordner existiert nicht.</translation>
    </message>
    <message>
        <source>This is a file, not a folder.</source>
        <translation>Das ist eine Datei, kein Ordner.</translation>
    </message>
    <message>
        <source>This folder cannot be written to.</source>
        <translation>In diesen Ordner kann nicht geschrieben werden.</translation>
    </message>
    <message>
        <source>This folder will be created by the first scan.</source>
        <translation>Dieser Ordner wird beim ersten Scan angelegt.</translation>
    </message>
</context>
<context>
    <name>qor::gui::GeneralTab</name>
    <message>
        <source>Save options for search result</source>
        <translation>Speicheroptionen für das Suchergebnis</translation>
    </message>
    <message>
        <source>Save as Excel files only</source>
        <translation>Nur als Excel-Dateien speichern</translation>
    </message>
    <message>
        <source>Save as CSV files only</source>
        <translation>Nur als CSV-Dateien speichern</translation>
    </message>
    <message>
        <source>Save as HTML report</source>
        <translation>Als HTML-Bericht speichern</translation>
    </message>
    <message>
        <source>Save all in one Excel file (sheets)</source>
        <translation>Alles in einer Excel-Datei speichern (Tabellenblätter)</translation>
    </message>
    <message>
        <source>Automatic</source>
        <translation>Automatisch</translation>
    </message>
    <message>
        <source>&amp;Text encoding of exports:</source>
        <translation>&amp;Textkodierung der Exporte:</translation>
    </message>
    <message>
        <source>Automatic reads an export as UTF-8 when it is valid UTF-8, otherwise as Windows-1250.</source>
        <translation>Automatisch liest einen Export als UTF-8, wenn er gültiges UTF-8 ist, sonst als Windows-1250.</translation>
    </message>
    <message>
        <source>E&amp;nable All Types</source>
        <translation>Alle Typen &amp;einschalten</translation>
    </message>
    <message>
        <source>&amp;Disable All Types</source>
        <translation>Alle Typen a&amp;usschalten</translation>
    </message>
    <message>
        <source>Workbooks written with:</source>
        <translation>Arbeitsmappen geschrieben mit:</translation>
    </message>
    <message>
        <source>Select &amp;Every Parameter of Every Type</source>
        <translation>&amp;Jeden Parameter jedes Typs auswählen</translation>
    </message>
    <message>
        <source>Enables every type and ticks all of its parameters</source>
        <translation>Schaltet jeden Typ ein und wählt alle seine Parameter aus</translation>
    </message>
</context>
<context>
    <name>qor::gui::MainStatusBar</name>
    <message>
        <source>Status</source>
        <translation>Status</translation>
    </message>
    <message>
        <source>Node Number:</source>
        <translation>Knotennummer:</translation>
    </message>
    <message>
        <source>Node Descr.:</source>
        <translation>Knotenbeschr.:</translation>
    </message>
</context>
<context>
    <name>qor::gui::MainWindow</name>
    <message>
        <source>For Help, press F1</source>
        <translation>Hilfe erhalten Sie mit F1</translation>
    </message>
    <message>
        <source>Statistic files (*.txt)</source>
        <translation>Statistikdateien (*.txt)</translation>
    </message>
    <message>
        <source>Open Statistics File...</source>
        <translation>Statistikdatei öffnen...</translation>
    </message>
    <message>
        <source>Microsoft Excel Files (*.xls)</source>
        <translation>Microsoft-Excel-Dateien (*.xls)</translation>
    </message>
    <message>
        <source>Comma Delimited Files (*.csv)</source>
        <translation>Kommagetrennte Dateien (*.csv)</translation>
    </message>
    <message>
        <source>HTML Document (*.html;*.htm)</source>
        <translation>HTML-Dokument (*.html;*.htm)</translation>
    </message>
    <message>
        <source>Open File(s) for Preview...</source>
        <translation>Datei(en) zur Ansicht öffnen...</translation>
    </message>
    <message>
        <source>The result folder %1 does not exist yet.</source>
        <translation>Der Ergebnisordner %1 ist noch nicht vorhanden.</translation>
    </message>
    <message>
        <source>The user guide is not installed with the program.</source>
        <translation>Das Benutzerhandbuch ist nicht mit dem Programm installiert.</translation>
    </message>
    <message>
        <source>&amp;Open File...</source>
        <translation>Datei ö&amp;ffnen...</translation>
    </message>
    <message>
        <source>Open Data Base File...</source>
        <translation>Datenbankdatei öffnen...</translation>
    </message>
    <message>
        <source>&amp;Scan File...</source>
        <translation>Datei &amp;durchsuchen...</translation>
    </message>
    <message>
        <source>Scan Opened File...</source>
        <translation>Geöffnete Datei durchsuchen...</translation>
    </message>
    <message>
        <source>&amp;Compare With...</source>
        <translation>&amp;Vergleichen mit...</translation>
    </message>
    <message>
        <source>Compare With an Older Data Base File...</source>
        <translation>Mit einer älteren Datenbankdatei vergleichen...</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>&amp;Options...</source>
        <translation>&amp;Optionen...</translation>
    </message>
    <message>
        <source>Options...</source>
        <translation>Optionen...</translation>
    </message>
    <message>
        <source>&amp;Preview Search Status...</source>
        <translation>Such&amp;status ansehen...</translation>
    </message>
    <message>
        <source>Preview Search Status...</source>
        <translation>Suchstatus ansehen...</translation>
    </message>
    <message>
        <source>&amp;DataBase Element Statistics...</source>
        <translation>Datenbankelement-St&amp;atistik...</translation>
    </message>
    <message>
        <source>Data Base Element Statistics...</source>
        <translation>Datenbankelement-Statistik...</translation>
    </message>
    <message>
        <source>Preview O&amp;utput Files...</source>
        <translation>A&amp;usgabedateien ansehen...</translation>
    </message>
    <message>
        <source>Preview Output Files...</source>
        <translation>Ausgabedateien ansehen...</translation>
    </message>
    <message>
        <source>Open &amp;Result Folder</source>
        <translation>&amp;Ergebnisordner öffnen</translation>
    </message>
    <message>
        <source>&amp;Toolbar</source>
        <translation>&amp;Werkzeugleiste</translation>
    </message>
    <message>
        <source>&amp;Cascade</source>
        <translation>Ü&amp;berlappend</translation>
    </message>
    <message>
        <source>Tile &amp;Horizontal</source>
        <translation>&amp;Horizontal anordnen</translation>
    </message>
    <message>
        <source>Tile &amp;Vertical</source>
        <translation>&amp;Vertikal anordnen</translation>
    </message>
    <message>
        <source>Help &amp;Contents...</source>
        <translation>Hilfe&amp;inhalt...</translation>
    </message>
    <message>
        <source>.QOR Reader on the &amp;WEB...</source>
        <translation>.QOR Reader im &amp;Web...</translation>
    </message>
    <message>
        <source>&amp;About .QOR Reader...</source>
        <translation>Ü&amp;ber .QOR Reader...</translation>
    </message>
    <message>
        <source>Cancel Scan</source>
        <translation>Suche abbrechen</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>Recent &amp;Files</source>
        <translation>&amp;Zuletzt geöffnete Dateien</translation>
    </message>
    <message>
        <source>&amp;Tools</source>
        <translation>E&amp;xtras</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>&amp;Ansicht</translation>
    </message>
    <message>
        <source>&amp;Window</source>
        <translation>&amp;Fenster</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>Toolbar</source>
        <translation>Werkzeugleiste</translation>
    </message>
    <message>
        <source>Data Base Files (*.qor)</source>
        <translation>Datenbankdateien (*.qor)</translation>
    </message>
    <message>
        <source>Document %1</source>
        <translation>Dokument %1</translation>
    </message>
    <message>
        <source>A scan is running. Open %1 when it has finished.</source>
        <translation>Eine Suche läuft. Öffnen Sie %1, wenn sie beendet ist.</translation>
    </message>
    <message>
        <source>File does not exist:<byte value="xd"/>
%1<byte value="xd"/>
<byte value="xd"/>
Remove it from the Recent Files list?</source>
        <translation>Die Datei ist nicht vorhanden:<byte value="xd"/>
%1<byte value="xd"/>
<byte value="xd"/>
Aus der Liste der zuletzt geöffneten Dateien entfernen?</translation>
    </message>
    <message>
        <source>This file holds no node information</source>
        <translation>Diese Datei enthält keine Knoteninformationen</translation>
    </message>
    <message>
        <source>Node Number:  %1</source>
        <translation>Knotennummer:  %1</translation>
    </message>
    <message>
        <source>Node Descr.:  %1</source>
        <translation>Knotenbeschr.:  %1</translation>
    </message>
    <message>
        <source>Cannot open &apos;%1&apos;: %2</source>
        <translation>„%1“ kann nicht geöffnet werden: %2</translation>
    </message>
    <message>
        <source>it is a folder</source>
        <translation>es ist ein Ordner</translation>
    </message>
    <message>
        <source>Not a node export: no node information and no element</source>
        <translation>Kein Knotenexport: keine Knoteninformationen und kein Element</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is not a node export: it holds neither node information nor any element. It is shown as it is, but it cannot be scanned.</source>
        <translation>&apos;%1&apos; ist kein Knotenexport: Die Datei enthält weder Knoteninformationen noch ein Element. Sie wird so angezeigt, wie sie ist, kann aber nicht durchsucht werden.</translation>
    </message>
    <message>
        <source>&amp;Clear List</source>
        <translation>Liste &amp;leeren</translation>
    </message>
    <message>
        <source>&amp;Arrange Icons</source>
        <translation>&amp;Symbole anordnen</translation>
    </message>
    <message>
        <source>Data Base file (*.qor) generated with Online Builder on: %1</source>
        <translation>Datenbankdatei (*.qor), erzeugt mit Online Builder am: %1</translation>
    </message>
    <message>
        <source>Cl&amp;ose</source>
        <translation>S&amp;chließen</translation>
    </message>
    <message>
        <source>Close A&amp;ll</source>
        <translation>&amp;Alle schließen</translation>
    </message>
    <message>
        <source>Ne&amp;xt</source>
        <translation>&amp;Nächstes</translation>
    </message>
    <message>
        <source>&amp;Previous</source>
        <translation>V&amp;origes</translation>
    </message>
    <message>
        <source>All Files (*)</source>
        <translation>Alle Dateien (*)</translation>
    </message>
    <message>
        <source>Go to Line</source>
        <translation>Gehe zu Zeile</translation>
    </message>
    <message>
        <source>Line (1 to %1):</source>
        <translation>Zeile (1 bis %1):</translation>
    </message>
    <message>
        <source>&amp;Go to Line...</source>
        <translation>&amp;Gehe zu Zeile...</translation>
    </message>
    <message>
        <source>Line &amp;Numbers</source>
        <translation>&amp;Zeilennummern</translation>
    </message>
    <message>
        <source>Open Fol&amp;der...</source>
        <translation>&amp;Ordner öffnen...</translation>
    </message>
    <message>
        <source>Open the Exports of a Folder in the Elements Window...</source>
        <translation>Die Exporte eines Ordners im Elementefenster öffnen...</translation>
    </message>
    <message>
        <source>Include Su&amp;bfolders</source>
        <translation>&amp;Unterordner einbeziehen</translation>
    </message>
    <message>
        <source>&amp;Elements</source>
        <translation>&amp;Elemente</translation>
    </message>
    <message>
        <source>Elements of the Opened File</source>
        <translation>Elemente der geöffneten Datei</translation>
    </message>
    <message>
        <source>Open the Exports of a Folder</source>
        <translation>Die Exporte eines Ordners öffnen</translation>
    </message>
    <message>
        <source>Loading the elements of %1...</source>
        <translation>Die Elemente von %1 werden geladen...</translation>
    </message>
    <message>
        <source>The folder %1 holds no export (*.qor).</source>
        <translation>Der Ordner %1 enthält keinen Export (*.qor).</translation>
    </message>
    <message>
        <source>Chec&amp;k Export</source>
        <translation>Export &amp;prüfen</translation>
    </message>
    <message>
        <source>Check the opened file for mistakes</source>
        <translation>Die geöffnete Datei auf Fehler prüfen</translation>
    </message>
    <message>
        <source>Check &amp;Folder...</source>
        <translation>Or&amp;dner prüfen...</translation>
    </message>
    <message>
        <source>Check every export of a folder, as one plant, for mistakes</source>
        <translation>Alle Exporte eines Ordners als eine Anlage auf Fehler prüfen</translation>
    </message>
    <message>
        <source>Check the Exports of a Folder</source>
        <translation>Die Exporte eines Ordners prüfen</translation>
    </message>
    <message>
        <source>Checking %1...</source>
        <translation>%1 wird geprüft...</translation>
    </message>
    <message>
        <source>Plant folder: %1</source>
        <translation>Anlagenordner: %1</translation>
    </message>
    <message>
        <source>Exports: %1</source>
        <translation>Exporte: %1</translation>
    </message>
    <message>
        <source>Elements: %1</source>
        <translation>Elemente: %1</translation>
    </message>
    <message>
        <source>Opening %1... (Esc cancels)</source>
        <translation>%1 wird geöffnet... (Esc bricht ab)</translation>
    </message>
</context>
<context>
    <name>qor::gui::OptionsDialog</name>
    <message>
        <source>Search Options</source>
        <translation>Suchoptionen</translation>
    </message>
    <message>
        <source>DAT Elements</source>
        <translation>DAT-Elemente</translation>
    </message>
    <message>
        <source>General Options</source>
        <translation>Allgemeine Optionen</translation>
    </message>
    <message>
        <source>Cabinet&lt;-&gt;Module</source>
        <translation>Schrank&lt;-&gt;Modul</translation>
    </message>
    <message>
        <source>item on each tab is mandatory checked</source>
        <translation>ist auf jeder Registerkarte immer ausgewählt</translation>
    </message>
    <message>
        <source>Show &apos;Search Status&apos; dialog</source>
        <translation>Dialog „Suchstatus“ anzeigen</translation>
    </message>
    <message>
        <source>&amp;Preview Status</source>
        <translation>Status-&amp;Vorschau</translation>
    </message>
    <message>
        <source>Preview current enabled/disabled status</source>
        <translation>Vorschau des aktuellen Status (aktiviert/deaktiviert)</translation>
    </message>
    <message>
        <source>&amp;OK</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Abbrechen</translation>
    </message>
    <message>
        <source>The Cabinet&lt;-&gt;Module table has changes that are not saved. Save them?</source>
        <translation>Die Tabelle Schrank&lt;-&gt;Modul hat Änderungen, die nicht gespeichert sind. Speichern?</translation>
    </message>
</context>
<context>
    <name>qor::gui::ProgressWindow</name>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Abbrechen</translation>
    </message>
    <message>
        <source>Opening Data Base file...</source>
        <translation>Datenbankdatei wird geöffnet...</translation>
    </message>
    <message>
        <source>Comparing the two exports...</source>
        <translation>Die beiden Exporte werden verglichen...</translation>
    </message>
    <message>
        <source>Cancelling...</source>
        <translation>Wird abgebrochen...</translation>
    </message>
    <message>
        <source>Preparing the result files...</source>
        <translation>Ergebnisdateien werden vorbereitet...</translation>
    </message>
</context>
<context>
    <name>qor::gui::SearchStatusDialog</name>
    <message>
        <source>Search Status</source>
        <translation>Suchstatus</translation>
    </message>
    <message>
        <source>Current search status for database element selected in &apos;Search Options&apos; dialog window. In order to change this settings click &apos;Change Settings&apos; button, otherwise click &apos;Scan Now&apos;. To dismiss this dialog uncheck &apos;Show Search Status dialog&apos; check box in &apos;Search Options&apos; window.</source>
        <translation>Aktueller Suchstatus der Datenbankelemente, wie im Dialog „Suchoptionen“ gewählt. Um diese Einstellungen zu ändern, klicken Sie auf „Einstellungen ändern“, sonst auf „Jetzt durchsuchen“. Damit dieser Dialog nicht mehr erscheint, entfernen Sie im Fenster „Suchoptionen“ das Häkchen bei „Dialog ‚Suchstatus‘ anzeigen“.</translation>
    </message>
    <message>
        <source>DataBase Element:</source>
        <translation>Datenbankelement:</translation>
    </message>
    <message>
        <source>Current Status:</source>
        <translation>Aktueller Status:</translation>
    </message>
    <message>
        <source>Enabled</source>
        <translation>Aktiviert</translation>
    </message>
    <message>
        <source>Disabled</source>
        <translation>Deaktiviert</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Abbrechen</translation>
    </message>
    <message>
        <source>C&amp;hange Settings</source>
        <translation>&amp;Einstellungen ändern</translation>
    </message>
    <message>
        <source>&amp;Scan Now</source>
        <translation>&amp;Jetzt durchsuchen</translation>
    </message>
    <message>
        <source>&amp;OK</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>Current search status for every DataBase element is Disabled. Click &apos;Change Settings&apos; to enable any DataBase element / parameters on property tabs.</source>
        <translation>Der Suchstatus aller Datenbankelemente ist „Deaktiviert“. Klicken Sie auf „Einstellungen ändern“, um Datenbankelemente / Parameter auf den Registerkarten zu aktivieren.</translation>
    </message>
    <message>
        <source>one Excel file (sheets)</source>
        <translation>eine Excel-Datei (Tabellenblätter)</translation>
    </message>
    <message>
        <source>Excel files</source>
        <translation>Excel-Dateien</translation>
    </message>
    <message>
        <source>CSV files</source>
        <translation>CSV-Dateien</translation>
    </message>
    <message>
        <source>HTML report</source>
        <translation>HTML-Bericht</translation>
    </message>
    <message>
        <source>none</source>
        <translation>keine</translation>
    </message>
    <message>
        <source>Output: %1, into %2</source>
        <translation>Ausgabe: %1, in %2</translation>
    </message>
</context>
<context>
    <name>qor::gui::SplashWindow</name>
    <message>
        <source>AC400 DataBase Files</source>
        <translation>AC400-Datenbankdateien</translation>
    </message>
    <message>
        <source>Build:</source>
        <translation>Build:</translation>
    </message>
    <message>
        <source>Finalizing settings...</source>
        <translation>Einstellungen werden abgeschlossen...</translation>
    </message>
</context>
<context>
    <name>qor::gui::StartUp</name>
    <message>
        <source>Initializing startup procedures...</source>
        <translation>Start wird vorbereitet...</translation>
    </message>
    <message>
        <source>Getting registry settings...</source>
        <translation>Einstellungen werden gelesen...</translation>
    </message>
    <message>
        <source>Creating application window...</source>
        <translation>Programmfenster wird erstellt...</translation>
    </message>
    <message>
        <source>File not found: %1</source>
        <translation>Datei nicht gefunden: %1</translation>
    </message>
</context>
<context>
    <name>qor::gui::StatisticsWindow</name>
    <message>
        <source>Search Results Statistics</source>
        <translation>Statistik der Suchergebnisse</translation>
    </message>
    <message>
        <source>DataBase Element:</source>
        <translation>Datenbankelement:</translation>
    </message>
    <message>
        <source>Found Elements:</source>
        <translation>Gefundene Elemente:</translation>
    </message>
    <message>
        <source>Search Disabled</source>
        <translation>Suche deaktiviert</translation>
    </message>
    <message>
        <source>&amp;Save To File</source>
        <translation>&amp;In Datei speichern</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>&amp;Schließen</translation>
    </message>
    <message>
        <source>Open &amp;Folder</source>
        <translation>&amp;Ordner öffnen</translation>
    </message>
    <message>
        <source>Open &amp;Report</source>
        <translation>&amp;Bericht öffnen</translation>
    </message>
    <message>
        <source>Cancelled</source>
        <translation>Abgebrochen</translation>
    </message>
    <message>
        <source>Result folder: %1</source>
        <translation>Ergebnisordner: %1</translation>
    </message>
    <message>
        <source>Total: %1 elements</source>
        <translation>Gesamt: %1 Elemente</translation>
    </message>
    <message>
        <source>Time taken: %1 s</source>
        <translation>Dauer: %1 s</translation>
    </message>
    <message>
        <source>Nothing was replaced: every existing result was kept.</source>
        <translation>Nichts wurde ersetzt: Alle vorhandenen Ergebnisse wurden behalten.</translation>
    </message>
    <message>
        <source>Kept</source>
        <translation>Behalten</translation>
    </message>
    <message>
        <source>The existing results were kept: this scan did not read the type.</source>
        <translation>Die vorhandenen Ergebnisse wurden behalten: Dieser Scan hat den Typ nicht gelesen.</translation>
    </message>
</context>
<context>
    <name>qor::gui::SystemInformationDialog</name>
    <message>
        <source>not known</source>
        <translation>unbekannt</translation>
    </message>
    <message>
        <source>%1 MiB installed, %2 MiB free</source>
        <translation>%1 MiB eingebaut, %2 MiB frei</translation>
    </message>
    <message>
        <source>none</source>
        <translation>keiner</translation>
    </message>
    <message>
        <source>%1 x %2 pixels at scale %3</source>
        <translation>%1 x %2 Pixel bei Skalierung %3</translation>
    </message>
    <message>
        <source>System Information</source>
        <translation>Systeminformationen</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>&amp;Kopieren</translation>
    </message>
    <message>
        <source>C&amp;lose</source>
        <translation>&amp;Schließen</translation>
    </message>
    <message>
        <source>release build</source>
        <translation>Release-Build</translation>
    </message>
    <message>
        <source>debug build</source>
        <translation>Debug-Build</translation>
    </message>
    <message>
        <source>Program: %1 %2 (%3)</source>
        <translation>Programm: %1 %2 (%3)</translation>
    </message>
    <message>
        <source>Operating system: %1</source>
        <translation>Betriebssystem: %1</translation>
    </message>
    <message>
        <source>Kernel: %1 %2</source>
        <translation>Kernel: %1 %2</translation>
    </message>
    <message>
        <source>Processor: %1</source>
        <translation>Prozessor: %1</translation>
    </message>
    <message>
        <source>Processor cores: %1</source>
        <translation>Prozessorkerne: %1</translation>
    </message>
    <message>
        <source>Memory: %1</source>
        <translation>Arbeitsspeicher: %1</translation>
    </message>
    <message>
        <source>Screen: %1</source>
        <translation>Bildschirm: %1</translation>
    </message>
    <message>
        <source>Language: %1</source>
        <translation>Sprache: %1</translation>
    </message>
    <message>
        <source>Qt: %1 (built with %2), platform %3</source>
        <translation>Qt: %1 (erstellt mit %2), Plattform %3</translation>
    </message>
    <message>
        <source>Workbooks written with: %1</source>
        <translation>Arbeitsmappen geschrieben mit: %1</translation>
    </message>
</context>
<context>
    <name>qorscan</name>
    <message>
        <source>Comparing</source>
        <translation>Vergleich läuft</translation>
    </message>
    <message>
        <source>the stored scan result folder (%1) is empty; give one with --result-folder DIR</source>
        <translation>der gespeicherte Ergebnisordner (%1) ist leer; geben Sie einen mit --result-folder ORDNER an</translation>
    </message>
    <message>
        <source>out of memory</source>
        <translation>nicht genügend Arbeitsspeicher</translation>
    </message>
    <message>
        <source>cannot write the standard output: %1</source>
        <translation>die Standardausgabe kann nicht geschrieben werden: %1</translation>
    </message>
    <message>
        <source>write error</source>
        <translation>Schreibfehler</translation>
    </message>
    <message>
        <source>Current search status for every DataBase element is Disabled. Enable a type with --all or --enable TYPE[:P,...], or check its &quot;Enable Search&quot; box in the stored options.</source>
        <translation>Der Suchstatus aller Datenbankelemente ist „Deaktiviert“. Aktivieren Sie einen Typ mit --all oder --enable TYP[:P,...] oder setzen Sie in den gespeicherten Optionen das Häkchen „Suche aktivieren“.</translation>
    </message>
    <message>
        <source>no such settings file: created it empty</source>
        <translation>keine solche Einstellungsdatei: sie wurde leer angelegt</translation>
    </message>
    <message>
        <source>a stored value cannot be read and is taken as absent (Qt: %1)</source>
        <translation>ein gespeicherter Wert kann nicht gelesen werden und gilt als nicht vorhanden (Qt: %1)</translation>
    </message>
    <message>
        <source>unknown setting &apos;%1&apos; in section [%2] is ignored (misspelt?)</source>
        <translation>die unbekannte Einstellung „%1“ im Abschnitt [%2] wird ignoriert (falsch geschrieben?)</translation>
    </message>
    <message>
        <source>error: %1</source>
        <translation>Fehler: %1</translation>
    </message>
    <message>
        <source>yes</source>
        <translation>ja</translation>
    </message>
    <message>
        <source>no</source>
        <translation>nein</translation>
    </message>
    <message>
        <source>error: %1 (%2)</source>
        <translation>Fehler: %1 (%2)</translation>
    </message>
    <message>
        <source>not a node export, skipped</source>
        <translation>kein Knotenexport, übersprungen</translation>
    </message>
    <message>
        <source>%1, line %2 %3: %4</source>
        <translation>%1, Zeile %2 %3: %4</translation>
    </message>
    <message>
        <source>--one-workbook goes with --output xlsx only, and the stored output is another; give --output xlsx</source>
        <translation>--one-workbook geht nur mit --output xlsx, und die gespeicherte Ausgabe ist eine andere; geben Sie --output xlsx an</translation>
    </message>
    <message>
        <source>--csv-raw goes with --output csv only, and the stored output is another; give --output csv</source>
        <translation>--csv-raw geht nur mit --output csv, und die gespeicherte Ausgabe ist eine andere; geben Sie --output csv an</translation>
    </message>
</context>
</TS>
