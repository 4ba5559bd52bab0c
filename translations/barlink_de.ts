<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>AboutDialog</name>
    <message>
        <location filename="../src/app/AboutDialog.ui" line="+5"/>
        <source>About Barlink</source>
        <translation>Über Barlink</translation>
    </message>
    <message>
        <location line="+21"/>
        <source>Barcode Manager, Version </source>
        <translation>Barcode-Verwaltung, Version </translation>
    </message>
    <message>
        <location line="+2"/>
        <source>For Helicon machine controls, Vantix generation 4.x</source>
        <translation>Für Helicon-Maschinensteuerungen, Vantix Generation 4.x</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Scanned barcode labels become rows of the machine&apos;s list.</source>
        <translation>Gescannte Etiketten werden zu Zeilen der Maschinenliste.</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>&amp;Ok</source>
        <translation>&amp;OK</translation>
    </message>
</context>
<context>
    <name>ExclusionChoice</name>
    <message>
        <location filename="../src/exclusion/ExclusionChoice.cpp" line="+37"/>
        <source> Exclusion Number %1  for insertion.</source>
        <translation> Ausschluss Nummer %1  zum Einfügen.</translation>
    </message>
</context>
<context>
    <name>ExclusionDialog</name>
    <message>
        <location filename="../src/exclusion/ExclusionDialog.ui" line="+5"/>
        <source>Exclusion Insertion</source>
        <translation>Ausschluss einfügen</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Automatic insertion of an Exclusion number in the List Manager upon scan of barcode.  Select desired Exclusion number to insert.</source>
        <translation>Beim Scannen eines Etiketts wird eine Ausschlussnummer in die Liste eingefügt.  Gewünschte Ausschlussnummer wählen.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>1</source>
        <translation>1</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Exclusion 1</source>
        <translation>Ausschluss 1</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>2</source>
        <translation>2</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Exclusion 2</source>
        <translation>Ausschluss 2</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>3</source>
        <translation>3</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Exclusion 3</source>
        <translation>Ausschluss 3</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>4</source>
        <translation>4</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Exclusion 4</source>
        <translation>Ausschluss 4</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>5</source>
        <translation>5</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Exclusion 5</source>
        <translation>Ausschluss 5</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>6</source>
        <translation>6</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Exclusion 6</source>
        <translation>Ausschluss 6</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>7</source>
        <translation>7</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Exclusion 7</source>
        <translation>Ausschluss 7</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>8</source>
        <translation>8</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Exclusion 8</source>
        <translation>Ausschluss 8</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
</context>
<context>
    <name>FieldSelectionDialog</name>
    <message>
        <location filename="../src/fieldsel/FieldSelectionDialog.ui" line="+6"/>
        <source>Automatic Field Selection Setup</source>
        <translation>Automatische Feldwahl einrichten</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>Auto Field Select</source>
        <translation>Automatische Feldwahl</translation>
    </message>
    <message>
        <location line="+23"/>
        <source>Trigger Source</source>
        <translation>Auslöser</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Barcode</source>
        <translation>Etikett</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Comment</source>
        <translation>Kommentar</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Program Name</source>
        <translation>Programmname</translation>
    </message>
    <message>
        <location line="+32"/>
        <source>Default Field</source>
        <translation>Standardfeld</translation>
    </message>
    <message>
        <location line="+28"/>
        <location line="+12"/>
        <source>Mirror</source>
        <translation>Spiegeln</translation>
    </message>
    <message>
        <location line="-6"/>
        <source>On Match Produce: </source>
        <translation>Bei Treffer erzeugen: </translation>
    </message>
    <message>
        <location line="+16"/>
        <source>Norm and Mirror</source>
        <translation>Normal und gespiegelt</translation>
    </message>
    <message>
        <location line="+17"/>
        <source>Set Characters to Trigger Mirror </source>
        <translation>Zeichen, die Spiegeln auslösen </translation>
    </message>
    <message>
        <location line="+29"/>
        <source>????????????????????????</source>
        <translation>????????????????????????</translation>
    </message>
    <message>
        <location line="+68"/>
        <source>Standard Fields</source>
        <translation>Standardfelder</translation>
    </message>
    <message>
        <location line="+40"/>
        <location line="+300"/>
        <location line="+100"/>
        <source>S</source>
        <translation>S</translation>
    </message>
    <message>
        <location line="-386"/>
        <location line="+300"/>
        <location line="+100"/>
        <source>A</source>
        <translation>A</translation>
    </message>
    <message>
        <location line="-364"/>
        <location line="+300"/>
        <location line="+100"/>
        <source>T</source>
        <translation>T</translation>
    </message>
    <message>
        <location line="-386"/>
        <location line="+300"/>
        <location line="+100"/>
        <source>R</source>
        <translation>R</translation>
    </message>
    <message>
        <location line="-360"/>
        <location line="+92"/>
        <location line="+50"/>
        <source>N</source>
        <translation>N</translation>
    </message>
    <message>
        <location line="-128"/>
        <location line="+92"/>
        <location line="+50"/>
        <source>M</source>
        <translation>M</translation>
    </message>
    <message>
        <location line="-122"/>
        <source>In each field the upper code is the normal field (S, T, N) and the lower one its mirror (A, R, M). Only ticked fields are chosen; N and M need no tick: they take every piece no other field takes.</source>
        <translation>In jedem Feld ist der obere Code das normale Feld (S, T, N), der untere sein Spiegelfeld (A, R, M). Nur angehakte Felder werden gewählt; N und M brauchen keinen Haken: sie nehmen jedes Teil, das kein anderes Feld nimmt.</translation>
    </message>
    <message>
        <location line="+18"/>
        <source>Front and Back</source>
        <translation>Vorne und hinten</translation>
    </message>
    <message>
        <location line="+328"/>
        <source>In each field the upper code is the normal field (S, T, N) and the lower one its mirror (A, R, M). Only ticked fields are chosen.</source>
        <translation>In jedem Feld ist der obere Code das normale Feld (S, T, N), der untere sein Spiegelfeld (A, R, M). Nur angehakte Felder werden gewählt.</translation>
    </message>
    <message>
        <location line="+18"/>
        <source>Field Limits</source>
        <translation>Feldgrenzen</translation>
    </message>
    <message>
        <location line="+22"/>
        <source>A piece fits in the left or right half of the table when its X dimension is below the X half limit, and in the front or back half when its Y dimension is below the Y half limit.</source>
        <translation>Ein Teil passt in die linke oder rechte Tischhälfte, wenn sein X-Maß unter der X-Halbgrenze liegt, und in die vordere oder hintere Hälfte, wenn sein Y-Maß unter der Y-Halbgrenze liegt.</translation>
    </message>
    <message>
        <location line="+23"/>
        <source>Set All</source>
        <translation>Alle an</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Enable all fields on this tab</source>
        <translation>Alle Felder dieser Seite einschalten</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Clear All</source>
        <translation>Alle aus</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Disable all fields on this tab</source>
        <translation>Alle Felder dieser Seite ausschalten</translation>
    </message>
    <message>
        <location line="+17"/>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Exit and keep changes</source>
        <translation>Schließen und Änderungen behalten</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Exit and loose changes</source>
        <translation>Schließen und Änderungen verwerfen</translation>
    </message>
</context>
<context>
    <name>FieldSelector</name>
    <message>
        <location filename="../src/fieldsel/FieldSelector.cpp" line="+125"/>
        <source>mirror fields, R first</source>
        <translation>Spiegelfelder, R zuerst</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>mirror fields, A first</source>
        <translation>Spiegelfelder, A zuerst</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>normal fields, T first</source>
        <translation>normale Felder, T zuerst</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>normal fields, S first</source>
        <translation>normale Felder, S zuerst</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>piece %1 x %2 %3 (%4), %5</source>
        <translation>Teil %1 x %2 %3 (%4), %5</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>taken as millimetres</source>
        <translation>als Millimeter genommen</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>under 140 x 60: taken as inches</source>
        <translation>unter 140 x 60: als Zoll genommen</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>: fits, chosen</source>
        <translation>: passt, gewählt</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>: no candidate fits, the last one is taken</source>
        <translation>: kein Feld passt, das letzte wird genommen</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>: off</source>
        <translation>: aus</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>x under %1 and y under %2</source>
        <translation>x unter %1 und y unter %2</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>x under %1</source>
        <translation>x unter %1</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>y under %1</source>
        <translation>y unter %1</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>%1: needs %2 %3, does not fit</source>
        <translation>%1: braucht %2 %3, passt nicht</translation>
    </message>
</context>
<context>
    <name>JournalWords</name>
    <message>
        <location filename="../src/journal/ui/JournalTableModel.cpp" line="+31"/>
        <source>Time</source>
        <translation>Zeit</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Station</source>
        <translation>Station</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Source</source>
        <translation>Quelle</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Label</source>
        <translation>Etikett</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Kind</source>
        <translation>Art</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Outcome</source>
        <translation>Ergebnis</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Reason</source>
        <translation>Grund</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Field</source>
        <translation>Feld</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Program</source>
        <translation>Programm</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>X</source>
        <translation>X</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Y</source>
        <translation>Y</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Z</source>
        <translation>Z</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Rows</source>
        <translation>Zeilen</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>scanner</source>
        <translation>Scanner</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>typed</source>
        <translation>getippt</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>station</source>
        <translation>Station</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>command</source>
        <translation>Befehl</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>field code</source>
        <translation>Feldcode</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>segment</source>
        <translation>Teilstück</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>plain name</source>
        <translation>einfacher Name</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>list</source>
        <translation>Liste</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>program barcode</source>
        <translation>Programm-Barcode</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>compressed label</source>
        <translation>gepacktes Etikett</translation>
    </message>
    <message>
        <location line="+1"/>
        <location line="+21"/>
        <source>station event</source>
        <translation>Stationsereignis</translation>
    </message>
    <message>
        <location line="-19"/>
        <source>start</source>
        <translation>Start</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>end</source>
        <translation>Ende</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>port opened</source>
        <translation>Anschluss geöffnet</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>port lost</source>
        <translation>Anschluss verloren</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>port back</source>
        <translation>Anschluss wieder da</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>list cleared</source>
        <translation>Liste geleert</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>list started</source>
        <translation>Liste gestartet</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>list held</source>
        <translation>Liste angehalten</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>entries lost</source>
        <translation>Einträge verloren</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>journal back</source>
        <translation>Journal wieder da</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>entries held</source>
        <translation>gehaltene Einträge geschrieben</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>journal damaged</source>
        <translation>Journal beschädigt</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>forwarding stalled</source>
        <translation>Weiterleitung stockt</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>forwarding resumed</source>
        <translation>Weiterleitung läuft wieder</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>item taken back</source>
        <translation>Teil zurückgenommen</translation>
    </message>
    <message>
        <source>spill file unreadable</source>
        <translation>Ausweichdatei unlesbar</translation>
    </message>
    <message>
        <source>spill file readable</source>
        <translation>Ausweichdatei lesbar</translation>
    </message>
    <message>
        <source>journal not tidied</source>
        <translation>Journal nicht aufgeräumt</translation>
    </message>
    <message>
        <source>journal tidied</source>
        <translation>Journal aufgeräumt</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>taken</source>
        <translation>angenommen</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>waiting</source>
        <translation>wartet</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>refused</source>
        <translation>abgelehnt</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>failed</source>
        <translation>fehlgeschlagen</translation>
    </message>
</context>
<context>
    <name>ListColumns</name>
    <message>
        <location filename="../src/embeddedlist/RowFields.cpp" line="+69"/>
        <source>Program</source>
        <translation>Programm</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Comment</source>
        <translation>Kommentar</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Repeat</source>
        <translation>Wdh.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Count</source>
        <translation>Anzahl</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Field</source>
        <translation>Feld</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Mirror</source>
        <translation>Spiegel</translation>
    </message>
</context>
<context>
    <name>ListRow</name>
    <message>
        <location filename="../src/label/ListRow.cpp" line="+73"/>
        <source>program</source>
        <translation>Programm</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>comment</source>
        <translation>Kommentar</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>repeat</source>
        <translation>Wiederholung</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>count</source>
        <translation>Anzahl</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>work field number</source>
        <translation>Nummer des Arbeitsfelds</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>mirror (1 for an even field number)</source>
        <translation>Spiegel (1 bei gerader Feldnummer)</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>reserved (a space)</source>
        <translation>reserviert (ein Leerzeichen)</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>not used</source>
        <translation>nicht benutzt</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <location filename="../src/app/MainWindow.ui" line="+6"/>
        <source>Barlink</source>
        <translation>Barlink</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>Ready.</source>
        <translation>Bereit.</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>&amp;Options</source>
        <translation>&amp;Optionen</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>&amp;View</source>
        <translation>&amp;Ansicht</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>&amp;Tools</source>
        <translation>&amp;Werkzeuge</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>&amp;?</source>
        <translation>&amp;?</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>E&amp;xit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>&amp;Settings</source>
        <translation>&amp;Einstellungen</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>&amp;Auto Field Select</source>
        <translation>&amp;Automatische Feldwahl</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>&amp;Exclusion Insertion</source>
        <translation>Aus&amp;schluss einfügen</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>&amp;Journal</source>
        <translation>&amp;Journal</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Ctrl+J</source>
        <translation>Ctrl+J</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>&amp;List Manager</source>
        <translation>&amp;Listenverwaltung</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>&amp;Guide</source>
        <translation>&amp;Anleitung</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>F1</source>
        <translation>F1</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>&amp;About BarLink ...</source>
        <translation>Über &amp;BarLink ...</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>&amp;Try a label…</source>
        <translation>Etikett &amp;ausprobieren…</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Ctrl+T</source>
        <translation>Ctrl+T</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Take &amp;back last item…</source>
        <translation>Letztes Teil &amp;zurücknehmen…</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Ctrl+Z</source>
        <translation>Ctrl+Z</translation>
    </message>
</context>
<context>
    <name>PlanCaption</name>
    <message>
        <location filename="../src/app/PlanCaption.cpp" line="+26"/>
        <source>%1, %2 × %3 mm</source>
        <translation>%1, %2 × %3 mm</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>%1, size unknown</source>
        <translation>%1, Größe unbekannt</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>its mirror in %1</source>
        <translation>sein Spiegelteil in %1</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>mirrored in %1</source>
        <translation>gespiegelt in %1</translation>
    </message>
    <message>
        <location line="+4"/>
        <source> and </source>
        <translation> und </translation>
    </message>
</context>
<context>
    <name>Reason</name>
    <message>
        <source>device disconnected</source>
        <translation>Gerät getrennt</translation>
    </message>
    <message>
        <location filename="../src/base/Reasons.h" line="+12"/>
        <source>scanned twice: the same piece as the item taken %1 s before</source>
        <translation>doppelt gescannt: dasselbe Teil wie das vor %1 s angenommene</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Name refused: %1 reaches outside its folder.</source>
        <translation>Name abgelehnt: %1 zeigt aus seinem Ordner hinaus.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>%1 refused: %2 holds &quot;;&quot;, which would end a field of the list row.</source>
        <translation>%1 abgelehnt: %2 enthält „;“, das ein Feld der Listenzeile beenden würde.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>%1 refused: %2 holds a control character, which no list row can carry.</source>
        <translation>%1 abgelehnt: %2 enthält ein Steuerzeichen, das keine Listenzeile aufnehmen kann.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Dimension %1</source>
        <translation>Maß %1</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Work field</source>
        <translation>Arbeitsfeld</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>no program is named: a row is never sent without one</source>
        <translation>kein Programm genannt: ohne Programm wird nie eine Zeile gesendet</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>the label holds %1 but does not start with %, so it is no segment</source>
        <translation>das Etikett enthält %1, beginnt aber nicht mit %, ist also kein Segment</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>the label is too short to be a segment</source>
        <translation>das Etikett ist zu kurz für ein Segment</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>the label starts with %%1, which is no known segment</source>
        <translation>das Etikett beginnt mit %%1, das ist kein bekanntes Segment</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>segment %%1 was already scanned for this item</source>
        <translation>Segment %%1 wurde für dieses Teil schon gescannt</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>no work field chosen</source>
        <translation>kein Arbeitsfeld gewählt</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>the item names no program: no dimensions</source>
        <translation>das Teil nennt kein Programm: keine Maße</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>%1 is not in %2: no dimensions</source>
        <translation>%1 ist nicht in %2: keine Maße</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>the current folder</source>
        <translation>dem aktuellen Ordner</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>ignored: the label is nothing but blanks and control characters once the scanner&apos;s line end is removed</source>
        <translation>übergangen: ohne das Zeilenende des Scanners besteht das Etikett nur aus Leer- und Steuerzeichen</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>it could not be read: %1</source>
        <translation>es war nicht lesbar: %1</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>The hardware is not available: %1</source>
        <translation>Die Hardware ist nicht verfügbar: %1</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>The hardware is not available: %1 (%2)</source>
        <translation>Die Hardware ist nicht verfügbar: %1 (%2)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Invalid port number: %1</source>
        <translation>Ungültige Schnittstelle: %1</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Invalid port number: %1 (%2)</source>
        <translation>Ungültige Schnittstelle: %1 (%2)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Port already open: %1</source>
        <translation>Schnittstelle schon offen: %1</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Port already open: %1 (%2)</source>
        <translation>Schnittstelle schon offen: %1 (%2)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Could not set comm state: %1</source>
        <translation>Schnittstelle ließ sich nicht einstellen: %1</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Could not set comm state: %1 (%2)</source>
        <translation>Schnittstelle ließ sich nicht einstellen: %1 (%2)</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Port already open: another program uses the scanner on %1</source>
        <translation>Schnittstelle schon offen: ein anderes Programm benutzt den Scanner an %1</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Permission denied: %1. This user is not allowed to use serial devices; an administrator must allow it (on Debian: add the user to the dialout group, then log in again)</source>
        <translation>Zugriff verweigert: %1. Dieser Benutzer darf keine seriellen Geräte benutzen; ein Administrator muss es erlauben (unter Debian: den Benutzer zur Gruppe dialout hinzufügen, dann neu anmelden)</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>%1=%2 is not used: %3. %4</source>
        <translation>%1=%2 wird nicht verwendet: %3. %4</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>a whole number of days from 0 to %1 is expected</source>
        <translation>erwartet wird eine ganze Zahl von Tagen von 0 bis %1</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>a whole number of seconds from 0 to %1 is expected</source>
        <translation>erwartet wird eine ganze Zahl von Sekunden von 0 bis %1</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>a number from %1 to %2 is expected, with a point before any decimals</source>
        <translation>erwartet wird eine Zahl von %1 bis %2, mit Punkt vor den Nachkommastellen</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>a whole number of milliseconds from %1 to %2 is expected</source>
        <translation>eine ganze Zahl von Millisekunden von %1 bis %2 wird erwartet</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>0 or 1 is expected</source>
        <translation>erwartet wird 0 oder 1</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>a time of day as HH:MM (06:00) is expected</source>
        <translation>erwartet wird eine Uhrzeit als HH:MM (06:00)</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>at most %1 characters without a control character are expected</source>
        <translation>erwartet werden höchstens %1 Zeichen ohne Steuerzeichen</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>%1, and a libpq connection string is expected (&quot;host=... dbname=... user=...&quot; or &quot;postgresql://...&quot;)</source>
        <translation>%1, erwartet wird eine libpq-Verbindungsangabe (&quot;host=... dbname=... user=...&quot; oder &quot;postgresql://...&quot;)</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>it is longer than %1 characters</source>
        <translation>sie ist länger als %1 Zeichen</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>it holds a control character</source>
        <translation>sie enthält ein Steuerzeichen</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>a postgresql:// address holds no blanks</source>
        <translation>eine postgresql://-Adresse enthält keine Leerzeichen</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>a keyword is expected before the &quot;=&quot; at character %1</source>
        <translation>vor dem &quot;=&quot; an Zeichen %1 wird ein Schlüsselwort erwartet</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>&quot;%1&quot; is not followed by &quot;=&quot; and a value</source>
        <translation>auf &quot;%1&quot; folgen kein &quot;=&quot; und kein Wert</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>the value of &quot;%1&quot; has no closing quote</source>
        <translation>dem Wert von &quot;%1&quot; fehlt das schließende Anführungszeichen</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>%1 is used instead.</source>
        <translation>Stattdessen gilt %1.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>0 is used instead: an item scanned twice is not refused.</source>
        <translation>Stattdessen gilt 0: ein doppelt gescanntes Teil wird nicht abgelehnt.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>The usual colours are used.</source>
        <translation>Es gelten die üblichen Farben.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>The counters start at midnight.</source>
        <translation>Die Zähler beginnen um Mitternacht.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>No sound is played.</source>
        <translation>Es wird kein Ton gespielt.</translation>
    </message>
    <message>
        <source>Buttons and boxes keep their usual size.</source>
        <translation>Schaltflächen und Kästchen behalten ihre übliche Größe.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>The list manager&apos;s window stays where it opens.</source>
        <translation>Das Fenster der Listenverwaltung bleibt, wo es sich öffnet.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Nothing is sent to the scanner when a label is refused.</source>
        <translation>Bei einem abgelehnten Etikett wird nichts an den Scanner gesendet.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>only control characters are expected: \r, \n, or \xHH from \x00 to \x1f or \x7f</source>
        <translation>erwartet werden nur Steuerzeichen: \r, \n oder \xHH von \x00 bis \x1f oder \x7f</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>A label ends when the scanner has been quiet for two poll intervals.</source>
        <translation>Ein Etikett endet, wenn der Scanner zwei Abfrageintervalle lang still ist.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>a bus name of two or more parts joined by &quot;.&quot; is expected, each of letters, digits, _ and -, none beginning with a digit</source>
        <translation>ein Busname aus zwei oder mehr durch &quot;.&quot; verbundenen Teilen wird erwartet, jeder aus Buchstaben, Ziffern, _ und -, keiner mit einer Ziffer am Anfang</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>The host name is used instead.</source>
        <translation>Stattdessen gilt der Rechnername.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Nothing is forwarded to a shop-wide journal.</source>
        <translation>Nichts wird an ein Werkstatt-Journal weitergeleitet.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>RefuseReply=%1 holds &quot;ACK&quot; and a carriage return, which the scanner hears when a label is taken: it may take a refused label for a taken one. It is used as written.</source>
        <translation>RefuseReply=%1 enthält &quot;ACK&quot; und einen Wagenrücklauf, den der Scanner bei einem angenommenen Etikett hört: er könnte ein abgelehntes Etikett für angenommen halten. Es wird wie geschrieben verwendet.</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>CommPollTime=%1 is more than %2 ms, which would keep a scanned label waiting for its answer too long: %2 is used instead.</source>
        <translation>CommPollTime=%1 ist mehr als %2 ms, ein gescanntes Etikett würde zu lange auf seine Antwort warten: stattdessen gilt %2.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>a whole number of milliseconds from 100 to %1 is expected</source>
        <translation>eine ganze Zahl von Millisekunden von 100 bis %1 wird erwartet</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>a port number of at most %1 is expected</source>
        <translation>eine Portnummer von höchstens %1 wird erwartet</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>0, 1 or 2 is expected</source>
        <translation>0, 1 oder 2 wird erwartet</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>%1 is given on line %2 and again on line %3: the value on line %2 is used.</source>
        <translation>%1 steht in Zeile %2 und noch einmal in Zeile %3: es gilt der Wert aus Zeile %2.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>[%1] is given on line %2 and again on line %3: nothing from line %3 on is read.</source>
        <translation>[%1] steht in Zeile %2 und noch einmal in Zeile %3: ab Zeile %3 wird nichts gelesen.</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>&quot;%1&quot; has no single-byte code at character %2</source>
        <translation>„%1“ hat keinen Ein-Byte-Code, an Zeichen %2</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>a lone \ at the end at character %1</source>
        <translation>ein einzelnes \ am Ende, an Zeichen %1</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>\x without two hexadecimal digits at character %1</source>
        <translation>\x ohne zwei Hexadezimalziffern an Zeichen %1</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>\%1 is no escape (\r, \n, \xHH, \\) at character %2</source>
        <translation>\%1 ist kein Escape (\r, \n, \xHH, \\), an Zeichen %2</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Program barcode abandoned: %1</source>
        <translation>Programm-Barcode abgebrochen: %1</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>the list manager failed to %1: %2</source>
        <translation>der Listenmanager konnte nicht %1: %2</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>add the row</source>
        <translation>die Zeile hinzufügen</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>start the list</source>
        <translation>die Liste starten</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>clear the list</source>
        <translation>die Liste leeren</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>it names no program file.</source>
        <translation>er nennt keine Programmdatei.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>the program file %1 could not be written (%2).</source>
        <translation>die Programmdatei %1 konnte nicht geschrieben werden (%2).</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>List File %1 Not Found</source>
        <translation>Listendatei %1 nicht gefunden</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Rows of this item already added: %1.</source>
        <translation>Bereits hinzugefügte Zeilen dieses Teils: %1.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>%1 Rows of this item already added: %2.</source>
        <translation>%1 Bereits hinzugefügte Zeilen dieses Teils: %2.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>%1. Rows of this item already added: %2.</source>
        <translation>%1. Bereits hinzugefügte Zeilen dieses Teils: %2.</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>list emptied: %1 rows from before</source>
        <translation>Liste geleert: %1 Zeilen von vorher</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>list emptied: 1 row from before</source>
        <translation>Liste geleert: 1 Zeile von vorher</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>list emptied: the list did not tell how many rows it held</source>
        <translation>Liste geleert: die Liste hat nicht gesagt, wie viele Zeilen sie hatte</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>program file %1 (%2 bytes)</source>
        <translation>Programmdatei %1 (%2 Bytes)</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>companion CSV %1 moved into %2</source>
        <translation>Begleit-CSV %1 in %2 verschoben</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>no session bus: Barlink reaches the list manager over the session bus. Start Barlink in a desktop session, or under dbus-run-session</source>
        <translation>kein Sitzungsbus: Barlink erreicht den Listenmanager über den Sitzungsbus. Starten Sie Barlink in einer Desktop-Sitzung oder mit dbus-run-session</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>the list manager %1 did not answer within %2 s</source>
        <translation>der Listenmanager %1 hat nicht innerhalb von %2 s geantwortet</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>the list manager %1 ended</source>
        <translation>der Listenmanager %1 wurde beendet</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>the list manager %1 is not running and cannot be started: %2</source>
        <translation>der Listenmanager %1 läuft nicht und kann nicht gestartet werden: %2</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>%1 did not take the name in time</source>
        <translation>%1 hat den Namen nicht rechtzeitig übernommen</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>File not found</source>
        <translation>Datei nicht gefunden</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Path not found</source>
        <translation>Pfad nicht gefunden</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Permission denied</source>
        <translation>Zugriff verweigert</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Disk full</source>
        <translation>Datenträger voll</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Path/File access error</source>
        <translation>Fehler beim Zugriff auf Pfad/Datei</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Device I/O error</source>
        <translation>E/A-Fehler des Geräts</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Out of memory</source>
        <translation>Nicht genügend Speicher</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Overflow</source>
        <translation>Überlauf</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Subscript out of range</source>
        <translation>Index außerhalb des Bereichs</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Invalid procedure call or argument</source>
        <translation>Ungültiger Prozeduraufruf oder ungültiges Argument</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Object variable or With block variable not set</source>
        <translation>Objektvariable oder With-Blockvariable nicht festgelegt</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>The device is not open</source>
        <translation>Das Gerät ist nicht geöffnet</translation>
    </message>
    <message>
        <source>the program&apos;s comment held &quot;;&quot; or a control character: sent with a space in its place</source>
        <translation>der Kommentar des Programms enthielt „;“ oder ein Steuerzeichen: mit einem Leerzeichen an seiner Stelle gesendet</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
</context>
<context>
    <name>RunState</name>
    <message>
        <location filename="../src/app/MainWindow.cpp" line="+39"/>
        <source>Idle</source>
        <translation>Steht</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Running</source>
        <translation>Läuft</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Held</source>
        <translation>Angehalten</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Ended</source>
        <translation>Beendet</translation>
    </message>
</context>
<context>
    <name>ScanResult</name>
    <message>
        <location filename="../src/app/ScanResult.cpp" line="+41"/>
        <source>READY</source>
        <translation>BEREIT</translation>
    </message>
    <message>
        <location line="+3"/>
        <location line="+28"/>
        <location line="+9"/>
        <source>Ready for the next piece</source>
        <translation>Bereit für das nächste Teil</translation>
    </message>
    <message>
        <location line="-21"/>
        <source>%1 × %2 mm</source>
        <translation>%1 × %2 mm</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>size unknown</source>
        <translation>Größe unbekannt</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>%1 rows</source>
        <translation>%1 Zeilen</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>Scan the dimensions label of %1</source>
        <translation>Maß-Etikett von %1 scannen</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Scan the program label for the piece of %1 × %2 mm</source>
        <translation>Programm-Etikett für das Teil %1 × %2 mm scannen</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Scan the next label of %1</source>
        <translation>Nächstes Etikett von %1 scannen</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>WARNING</source>
        <translation>WARNUNG</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>WAITING</source>
        <translation>WARTET</translation>
    </message>
    <message>
        <source>TAKEN BACK</source>
        <translation>ZURÜCKGENOMMEN</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>REFUSED</source>
        <translation>ABGELEHNT</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>It was not added again. To add one more of the same piece, scan it again.</source>
        <translation>Nicht noch einmal hinzugefügt. Für ein weiteres gleiches Teil noch einmal scannen.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Nothing was added to the list. Check the label and scan it again, or type it with Edit.</source>
        <translation>Nichts in die Liste übernommen. Etikett prüfen und noch einmal scannen oder mit Bearbeiten tippen.</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>FAILED</source>
        <translation>FEHLER</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Rows of this label are in the list already: look at the list before you scan it again.</source>
        <translation>Zeilen dieses Etiketts sind schon in der Liste: erst die Liste ansehen, dann noch einmal scannen.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Nothing was added to the list. Put the cause right, then scan the label again.</source>
        <translation>Nichts in die Liste übernommen. Ursache beheben, dann das Etikett noch einmal scannen.</translation>
    </message>
</context>
<context>
    <name>ScanWords</name>
    <message>
        <location filename="../src/app/ScanWords.cpp" line="+27"/>
        <source>List ended</source>
        <translation>Liste beendet</translation>
    </message>
    <message>
        <source>Setpoint set</source>
        <translation>Sollwert gesetzt</translation>
    </message>
    <message>
        <source>Labels of the item so far dropped; the list is as it was</source>
        <translation>Bisherige Etiketten des Teils verworfen; die Liste ist unverändert</translation>
    </message>
    <message>
        <source>List emptied</source>
        <translation>Liste geleert</translation>
    </message>
    <message>
        <source>List emptied (1 row)</source>
        <translation>Liste geleert (1 Zeile)</translation>
    </message>
    <message>
        <source>List emptied (%1 rows)</source>
        <translation>Liste geleert (%1 Zeilen)</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Work field set for the next item: %1</source>
        <translation>Arbeitsfeld für das nächste Teil: %1</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>List file loaded: %1</source>
        <translation>Listendatei geladen: %1</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>%1 rows</source>
        <translation>%1 Zeilen</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Taken</source>
        <translation>Angenommen</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Taken: </source>
        <translation>Angenommen: </translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Taken, but %1</source>
        <translation>Angenommen, aber %1</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Waiting for the dimensions label</source>
        <translation>Wartet auf das Maß-Etikett</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Waiting for the program label</source>
        <translation>Wartet auf das Programm-Etikett</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Waiting for the next label</source>
        <translation>Wartet auf das nächste Etikett</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>List cleared</source>
        <translation>Liste geleert</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>List cleared: 1 row left from before removed</source>
        <translation>Liste geleert: 1 alte Zeile entfernt</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>List cleared: %1 rows left from before removed</source>
        <translation>Liste geleert: %1 alte Zeilen entfernt</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Station started</source>
        <translation>Station gestartet</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Station ended</source>
        <translation>Station beendet</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Scanner port opened</source>
        <translation>Scanner-Anschluss geöffnet</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Scanner port lost</source>
        <translation>Scanner-Anschluss verloren</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Scanner port back</source>
        <translation>Scanner-Anschluss wieder da</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>List started</source>
        <translation>Liste gestartet</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>List held</source>
        <translation>Liste angehalten</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Shop journal not reached</source>
        <translation>Werkstatt-Journal nicht erreicht</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Shop journal reached again</source>
        <translation>Werkstatt-Journal wieder erreicht</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Taken back</source>
        <translation>Zurückgenommen</translation>
    </message>
    <message>
        <source>Spill file of the journal cannot be read</source>
        <translation>Ausweichdatei des Journals nicht lesbar</translation>
    </message>
    <message>
        <source>Spill file of the journal read again</source>
        <translation>Ausweichdatei des Journals wieder gelesen</translation>
    </message>
    <message>
        <source>Journal cannot be tidied</source>
        <translation>Journal kann nicht aufgeräumt werden</translation>
    </message>
    <message>
        <source>Journal tidied again</source>
        <translation>Journal wieder aufgeräumt</translation>
    </message>
    <message>
        <location line="+20"/>
        <source>field %1</source>
        <translation>Feld %1</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>field %1 (%2)</source>
        <translation>Feld %1 (%2)</translation>
    </message>
    <message>
        <location line="+23"/>
        <source>Refused</source>
        <translation>Abgelehnt</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Failed</source>
        <translation>Fehlgeschlagen</translation>
    </message>
</context>
<context>
    <name>SettingsDialog</name>
    <message>
        <location filename="../src/app/SettingsDialog.ui" line="+5"/>
        <source>Settings</source>
        <translation>Einstellungen</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>&amp;Com Port</source>
        <translation>&amp;COM-Anschluss</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Com1</source>
        <translation>Com1</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Com2</source>
        <translation>Com2</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Com3</source>
        <translation>Com3</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Com4</source>
        <translation>Com4</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>&amp;Baud Rate</source>
        <translation>&amp;Baudrate</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>300</source>
        <translation>300</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>1200</source>
        <translation>1200</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>2400</source>
        <translation>2400</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>4800</source>
        <translation>4800</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>9600</source>
        <translation>9600</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>19200</source>
        <translation>19200</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>38400</source>
        <translation>38400</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>57600</source>
        <translation>57600</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>&amp;Parity</source>
        <translation>&amp;Parität</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>None</source>
        <translation>Keine</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Odd</source>
        <translation>Ungerade</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Even</source>
        <translation>Gerade</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>&amp;Data Bits</source>
        <translation>&amp;Datenbits</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>7</source>
        <translation>7</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>8</source>
        <translation>8</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>&amp;Stop Bits</source>
        <translation>&amp;Stoppbits</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>1</source>
        <translation>1</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>2</source>
        <translation>2</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Serial de&amp;vice</source>
        <translation>Serielles &amp;Gerät</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Device:</source>
        <translation>Gerät:</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Open this device instead of Com1 to Com4</source>
        <translation>Dieses Gerät statt Com1 bis Com4 öffnen</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>/dev/ttyUSB0</source>
        <translation>/dev/ttyUSB0</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>The device&apos;s path; choose one below or type it</source>
        <translation>Pfad des Geräts; unten wählen oder tippen</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>The serial devices this system has</source>
        <translation>Die seriellen Geräte dieses Rechners</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
</context>
<context>
    <name>Startup</name>
    <message>
        <location filename="../src/app/Startup.cpp" line="+39"/>
        <source>The list manager has not handed out a list.</source>
        <translation>Die Listenverwaltung hat keine Liste herausgegeben.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>

Retry to wait for the list again, Cancel to go on without a list.</source>
        <translation>

Wiederholen: noch einmal auf die Liste warten. Abbrechen: ohne Liste weiter.</translation>
    </message>
    <message>
        <location filename="../src/app/Startup.h" line="+60"/>
        <source>the BarCode Program is already running!</source>
        <translation>das Barcode-Programm läuft schon!</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>No list from the list manager: rows cannot be added.</source>
        <translation>Keine Liste von der Listenverwaltung: es können keine Zeilen hinzukommen.</translation>
    </message>
</context>
<context>
    <name>StatusTexts</name>
    <message>
        <location filename="../src/base/StatusTexts.h" line="+15"/>
        <source>Ready.</source>
        <translation>Bereit.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Type the Barcode-Label.</source>
        <translation>Etikett tippen.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Reading Barcode-Label.</source>
        <translation>Lese Etikett.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Wait saving g-code.</source>
        <translation>Bitte warten, G-Code wird gespeichert.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Adding to Barcode data to List.</source>
        <translation>Etikettdaten kommen in die Liste.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Run Field Not Selected</source>
        <translation>Kein Arbeitsfeld gewählt</translation>
    </message>
    <message>
        <location line="+4"/>
        <source> Waiting for next barcode...</source>
        <translation> Warte auf nächstes Etikett...</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Barcode Formating Error.</source>
        <translation>Etikett falsch aufgebaut.</translation>
    </message>
</context>
<context>
    <name>TakeBack</name>
    <message>
        <location filename="../src/app/TakeBack.cpp" line="+12"/>
        <source>The list is running: the last item cannot be taken back now. Hold the list first, or take the rows out at the machine control.</source>
        <translation>Die Liste läuft: das letzte Teil kann jetzt nicht zurückgenommen werden. Erst die Liste anhalten oder die Zeilen an der Maschinensteuerung löschen.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>The list has changed since the last item went: its rows are no longer the last rows of the list. Take them out at the machine control.</source>
        <translation>Die Liste hat sich seit dem letzten Teil geändert: seine Zeilen sind nicht mehr die letzten. Bitte an der Maschinensteuerung löschen.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>The machine is on the last item&apos;s rows: they cannot be taken back.</source>
        <translation>Die Maschine ist auf den Zeilen des letzten Teils: sie können nicht zurückgenommen werden.</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>No item has gone into the list since Barlink started, or the last one was taken back already.</source>
        <translation>Seit dem Start von Barlink ging kein Teil in die Liste, oder das letzte ist schon zurückgenommen.</translation>
    </message>
    <message>
        <source>Nothing of the label shown went into the list: there is nothing of it to take back.</source>
        <translation>Vom angezeigten Etikett ging nichts in die Liste: davon gibt es nichts zurückzunehmen.</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>The list manager cannot tell what its list holds (%1): nothing was taken back.</source>
        <translation>Die Listenverwaltung kann ihren Listeninhalt nicht nennen (%1): nichts zurückgenommen.</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>row %1: %2, %3</source>
        <translation>Zeile %1: %2, %3</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Take back the last item? These rows are removed from the list:</source>
        <translation>Letztes Teil zurücknehmen? Diese Zeilen werden aus der Liste gelöscht:</translation>
    </message>
</context>
<context>
    <name>TestConsoleWindow</name>
    <message>
        <location filename="../src/testconsole/TestConsoleWindow.ui" line="+6"/>
        <source>Runlist TEST</source>
        <translation>Runlist TEST</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>Workdesk.Application</source>
        <translation>Workdesk.Application</translation>
    </message>
    <message>
        <location line="+6"/>
        <location line="+259"/>
        <source>Metod</source>
        <translation>Metod</translation>
    </message>
    <message>
        <location line="-253"/>
        <source>App Init</source>
        <translation>App Init</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>App Terminate</source>
        <translation>App Terminate</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Quit</source>
        <translation>Quit</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Maximize</source>
        <translation>Maximize</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Minimize</source>
        <translation>Minimize</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Normal</source>
        <translation>Normal</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>List Init</source>
        <translation>List Init</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>New List</source>
        <translation>New List</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Open List</source>
        <translation>Open List</translation>
    </message>
    <message>
        <location line="+9"/>
        <location line="+556"/>
        <source>D:\Vntx_4.0\Rho300\Product\Lsx\List1.lst</source>
        <translation>D:\Vntx_4.0\Rho300\Product\Lsx\List1.lst</translation>
    </message>
    <message>
        <location line="-553"/>
        <source>List file for Open List</source>
        <translation>Listendatei für Open List</translation>
    </message>
    <message>
        <location line="+13"/>
        <location line="+550"/>
        <source>...</source>
        <translation>...</translation>
    </message>
    <message>
        <location line="-547"/>
        <source>Choose the list file to open</source>
        <translation>Zu öffnende Listendatei wählen</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Start</source>
        <translation>Start</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Hold</source>
        <translation>Hold</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>End</source>
        <translation>End</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Setpoint</source>
        <translation>Setpoint</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Enable Open</source>
        <translation>Enable Open</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Disable Open</source>
        <translation>Disable Open</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Enable Save</source>
        <translation>Enable Save</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Disable Save</source>
        <translation>Disable Save</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Enable New</source>
        <translation>Enable New</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Disable New</source>
        <translation>Disable New</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>ShowOnTop=True</source>
        <translation>ShowOnTop=True</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>ShowOnTop=False</source>
        <translation>ShowOnTop=False</translation>
    </message>
    <message>
        <location line="+17"/>
        <location line="+120"/>
        <source>Property</source>
        <translation>Property</translation>
    </message>
    <message>
        <location line="-114"/>
        <location line="+120"/>
        <source>Visible/Invisible</source>
        <translation>Visible/Invisible</translation>
    </message>
    <message>
        <location line="-113"/>
        <source>Connected?</source>
        <translation>Connected?</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Password?</source>
        <translation>Password?</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>List Opened?</source>
        <translation>List Opened?</translation>
    </message>
    <message>
        <location line="+33"/>
        <source>Workdesk.ExeList</source>
        <translation>Workdesk.ExeList</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>List Terminate</source>
        <translation>List Terminate</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>List Close</source>
        <translation>List Close</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>View Works</source>
        <translation>View Works</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>View Works Throught</source>
        <translation>View Works Throught</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Column Info</source>
        <translation>Column Info</translation>
    </message>
    <message>
        <location line="+33"/>
        <source>List In Run?</source>
        <translation>List In Run?</translation>
    </message>
    <message>
        <location line="+20"/>
        <source>Num Columns?</source>
        <translation>Num Columns?</translation>
    </message>
    <message>
        <location line="+20"/>
        <source>Num Rows?</source>
        <translation>Num Rows?</translation>
    </message>
    <message>
        <location line="+20"/>
        <source>Num Repetition?</source>
        <translation>Num Repetition?</translation>
    </message>
    <message>
        <location line="+20"/>
        <source>Exe Row?</source>
        <translation>Exe Row?</translation>
    </message>
    <message>
        <location line="+35"/>
        <source>Runlist Modification Commands</source>
        <translation>Befehle zum Ändern der Liste</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>Add Line</source>
        <translation>Add Line</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Row for Add Line</source>
        <translation>Zeile für Add Line</translation>
    </message>
    <message>
        <location line="+13"/>
        <location line="+56"/>
        <source>Insert Runlist fields separated by the &quot;;&quot; character. Example : #161=forpunte.CNC;#168=600;#169=600;#170=20</source>
        <translation>Listenfelder durch &quot;;&quot; getrennt eingeben. Beispiel : #161=forpunte.CNC;#168=600;#169=600;#170=20</translation>
    </message>
    <message>
        <location line="-50"/>
        <location line="+33"/>
        <location line="+23"/>
        <location line="+44"/>
        <location line="+77"/>
        <source>color: palette(dark);</source>
        <translation>color: palette(dark);</translation>
    </message>
    <message>
        <location line="-170"/>
        <source>Set Line</source>
        <translation>Set Line</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Line for Set Line</source>
        <translation>Zeilennummer für Set Line</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>Specify the number of the line to modify.</source>
        <translation>Nummer der zu ändernden Zeile angeben.</translation>
    </message>
    <message>
        <location line="+16"/>
        <source>Row for Set Line</source>
        <translation>Zeile für Set Line</translation>
    </message>
    <message>
        <location line="+31"/>
        <source>Del Line</source>
        <translation>Del Line</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Line for Del Line</source>
        <translation>Zeilennummer für Del Line</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>Specify the number of the line to delete.</source>
        <translation>Nummer der zu löschenden Zeile angeben.</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>Get Line</source>
        <translation>Get Line</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Line for Get Line</source>
        <translation>Zeilennummer für Get Line</translation>
    </message>
    <message>
        <location line="+19"/>
        <source>Row read by Get Line</source>
        <translation>Von Get Line gelesene Zeile</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Append List</source>
        <translation>Append List</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>List file for Append List</source>
        <translation>Listendatei für Append List</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Choose the list file to append</source>
        <translation>Anzuhängende Listendatei wählen</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Specify the name of the list</source>
        <translation>Namen der Liste angeben</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>Clear List</source>
        <translation>Clear List</translation>
    </message>
    <message>
        <location filename="../src/testconsole/TestConsoleWindow.cpp" line="+20"/>
        <source>True</source>
        <translation>True</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>False</source>
        <translation>False</translation>
    </message>
</context>
<context>
    <name>TryRun</name>
    <message>
        <location filename="../src/app/StandIns.cpp" line="+76"/>
        <source>row %1 of the list would be deleted</source>
        <translation>Zeile %1 der Liste würde gelöscht</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>row %1 of the list would be changed</source>
        <translation>Zeile %1 der Liste würde geändert</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>the rows of %1 would be added</source>
        <translation>die Zeilen von %1 würden angefügt</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>the list would be cleared</source>
        <translation>die Liste würde geleert</translation>
    </message>
    <message>
        <location line="+32"/>
        <source>list file %1 would be opened</source>
        <translation>Listendatei %1 würde geöffnet</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>the list would be started</source>
        <translation>die Liste würde gestartet</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>the list would be held</source>
        <translation>die Liste würde angehalten</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>the list would be ended</source>
        <translation>die Liste würde beendet</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>the list would be sent to its set point</source>
        <translation>die Liste würde auf ihren Sollwert gesetzt</translation>
    </message>
    <message>
        <location filename="../src/app/TryRun.cpp" line="+97"/>
        <source>program</source>
        <translation>Programm</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>comment</source>
        <translation>Kommentar</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>field</source>
        <translation>Feld</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>size %1 x %2 x %3</source>
        <translation>Größe %1 x %2 x %3</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>extra</source>
        <translation>Zusatz</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>segments in: %1</source>
        <translation>Segmente da: %1</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>, but </source>
        <translation>, aber </translation>
    </message>
    <message>
        <location line="+6"/>
        <source>taken</source>
        <translation>angenommen</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>taken: sent once, field %1</source>
        <translation>angenommen: einmal gesendet, Feld %1</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>taken: sent %1 (normal and mirrored), fields %2</source>
        <translation>angenommen: %1 gesendet (normal und gespiegelt), Felder %2</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>twice</source>
        <translation>zweimal</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>%1 times</source>
        <translation>%1-mal</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>waiting for the next label</source>
        <translation>wartet auf das nächste Etikett</translation>
    </message>
    <message>
        <location line="+2"/>
        <location filename="../src/app/TryWindow.cpp" line="+24"/>
        <location line="+130"/>
        <source>refused: </source>
        <translation>abgelehnt: </translation>
    </message>
    <message>
        <location line="+2"/>
        <location filename="../src/app/TryWindow.cpp" line="-129"/>
        <source>failed: </source>
        <translation>fehlgeschlagen: </translation>
    </message>
    <message>
        <location line="+21"/>
        <source>status line: </source>
        <translation>Statuszeile: </translation>
    </message>
    <message>
        <location line="+3"/>
        <source>message box: </source>
        <translation>Meldung: </translation>
    </message>
    <message>
        <location line="+3"/>
        <source>the scanner would hear &quot;%1&quot;</source>
        <translation>der Scanner bekäme „%1“</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>Settings</source>
        <translation>Einstellungen</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>read from </source>
        <translation>gelesen aus </translation>
    </message>
    <message>
        <location line="+6"/>
        <source>tried as a freshly started station: nothing scanned before</source>
        <translation>wie eine frisch gestartete Station: vorher nichts gescannt</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>row %1 in work field %2 (number %3)</source>
        <translation>Zeile %1 im Arbeitsfeld %2 (Nummer %3)</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>  field chosen from the table: </source>
        <translation>  Feld aus der Tabelle gewählt: </translation>
    </message>
    <message>
        <location line="+4"/>
        <source>  field as the labels or the default field give it</source>
        <translation>  Feld wie von den Etiketten oder dem Standardfeld vorgegeben</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>  the eighteen fields:</source>
        <translation>  die achtzehn Felder:</translation>
    </message>
    <message>
        <location line="+14"/>
        <location filename="../src/app/TryWindow.cpp" line="+1"/>
        <source>held by a message box until it is answered, then </source>
        <translation>von einer Meldung aufgehalten, bis sie beantwortet ist, dann </translation>
    </message>
    <message>
        <location line="+12"/>
        <location filename="../src/app/TryWindow.cpp" line="+127"/>
        <source>Label &quot;%1&quot;</source>
        <translation>Etikett „%1“</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>item so far: </source>
        <translation>Teil bisher: </translation>
    </message>
    <message>
        <location line="+2"/>
        <source>not written: </source>
        <translation>nicht geschrieben: </translation>
    </message>
    <message>
        <location line="+2"/>
        <source>nothing to handle</source>
        <translation>nichts zu tun</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>The last item is not complete: nothing of it was sent.</source>
        <translation>Das letzte Teil ist nicht vollständig: nichts davon wurde gesendet.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>The item was sent; the segments taken in before it (%1) still count for the next labels.</source>
        <translation>Das Teil wurde gesendet; die vorher eingelesenen Segmente (%1) zählen für die nächsten Etiketten weiter.</translation>
    </message>
    <message>
        <location filename="../src/app/TryWindow.cpp" line="+2"/>
        <source>it cannot be read: %1</source>
        <translation>es ist nicht lesbar: %1</translation>
    </message>
</context>
<context>
    <name>barlink::app::GlancePanel</name>
    <message>
        <source>(%1 rows)</source>
        <translation>(%1 Zeilen)</translation>
    </message>
    <message>
        <source>Enter or a double click shows a scan in the journal</source>
        <translation>Enter oder Doppelklick zeigt einen Scan im Journal</translation>
    </message>
    <message>
        <source>Recent scans</source>
        <translation>Letzte Scans</translation>
    </message>
    <message>
        <source>Where the last item went on the machine table</source>
        <translation>Wohin das letzte Teil auf dem Maschinentisch kam</translation>
    </message>
    <message>
        <source>Where the piece goes</source>
        <translation>Wohin das Teil kommt</translation>
    </message>
    <message>
        <source>No item yet</source>
        <translation>Noch kein Teil</translation>
    </message>
    <message>
        <source>The last pieces sent to the list in this shift, newest first</source>
        <translation>Die letzten Teile dieser Schicht in der Liste, neuestes zuerst</translation>
    </message>
    <message>
        <source>This shift, since %1</source>
        <translation>Diese Schicht, seit %1</translation>
    </message>
    <message numerus="yes">
        <source>✔ %n taken</source>
        <translation>
            <numerusform>✔ %n angenommen</numerusform>
            <numerusform>✔ %n angenommen</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>✖ %n refused</source>
        <translation>
            <numerusform>✖ %n abgelehnt</numerusform>
            <numerusform>✖ %n abgelehnt</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>✖ %n failed</source>
        <translation>
            <numerusform>✖ %n Fehler</numerusform>
            <numerusform>✖ %n Fehler</numerusform>
        </translation>
    </message>
    <message>
        <source>No piece sent yet in this shift.</source>
        <translation>In dieser Schicht noch kein Teil gesendet.</translation>
    </message>
</context>
<context>
    <name>barlink::app::GuideWindow</name>
    <message>
        <location filename="../src/app/GuideWindow.cpp" line="+15"/>
        <source>Barlink Guide</source>
        <translation>Barlink-Anleitung</translation>
    </message>
    <message>
        <location line="+20"/>
        <source>The guide is missing from this build.</source>
        <translation>Die Anleitung fehlt in diesem Build.</translation>
    </message>
</context>
<context>
    <name>barlink::app::MainWindow</name>
    <message>
        <source>Take &amp;back %1…</source>
        <translation>%1 &amp;zurücknehmen…</translation>
    </message>
    <message>
        <source>Take &amp;back last item…</source>
        <translation>Letztes Teil &amp;zurücknehmen…</translation>
    </message>
    <message>
        <location filename="../src/app/MainWindow.cpp" line="+222"/>
        <source>No item to take back.</source>
        <translation>Kein Teil zum Zurücknehmen.</translation>
    </message>
    <message>
        <location line="+27"/>
        <source>Text &amp;size</source>
        <translation>&amp;Textgröße</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>%1%</source>
        <translation>%1%</translation>
    </message>
    <message>
        <location line="+23"/>
        <source>&amp;Larger</source>
        <translation>&amp;Größer</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>S&amp;maller</source>
        <translation>&amp;Kleiner</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>&amp;Normal</source>
        <translation>&amp;Normal</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>&amp;Full screen</source>
        <translation>&amp;Vollbild</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>&amp;High contrast</source>
        <translation>&amp;Hoher Kontrast</translation>
    </message>
    <message>
        <source>&amp;Touch</source>
        <translation>Touch-&amp;Bedienung</translation>
    </message>
</context>
<context>
    <name>barlink::app::ManualEntryPanel</name>
    <message>
        <source>Delete the character before the cursor</source>
        <translation>Das Zeichen vor der Schreibmarke löschen</translation>
    </message>
    <message>
        <source>Space</source>
        <translation>Leertaste</translation>
    </message>
    <message>
        <source>Manual entry</source>
        <translation>Von Hand eingeben</translation>
    </message>
    <message>
        <source>Edit</source>
        <translation>Bearbeiten</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Press Edit to type a label</source>
        <translation>Bearbeiten →</translation>
    </message>
</context>
<context>
    <name>barlink::app::OptionsPanel</name>
    <message>
        <source>Options</source>
        <translation>Optionen</translation>
    </message>
    <message>
        <source>Automatic Clear on Scan</source>
        <translation>Liste beim Scannen leeren</translation>
    </message>
    <message>
        <source>Overwrite Existing Programs With Program From 2D Barcode</source>
        <translation>Vorhandene Programme mit Programm aus 2D-Barcode überschreiben</translation>
    </message>
    <message>
        <source>Show Program in Editor</source>
        <translation>Programm im Editor zeigen</translation>
    </message>
    <message>
        <source>  Machine Auto Start</source>
        <translation>  Maschine startet selbst</translation>
    </message>
</context>
<context>
    <name>barlink::app::PortControl</name>
    <message>
        <location filename="../src/app/PortControl.cpp" line="+52"/>
        <source>Scanner port %1 closed: %2. Waiting for the scanner to come back...</source>
        <translation>Scanner-Anschluss %1 geschlossen: %2. Warte, bis der Scanner wieder da ist...</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Scanner port %1 not open: %2. Waiting for the scanner...</source>
        <translation>Scanner-Anschluss %1 nicht offen: %2. Warte auf den Scanner...</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Scanner port closed: %1. Choose the port with Options, Settings.</source>
        <translation>Scanner-Anschluss geschlossen: %1. Anschluss unter Optionen, Einstellungen wählen.</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Scanner port %1 open. Ready.</source>
        <translation>Scanner-Anschluss %1 offen. Bereit.</translation>
    </message>
    <message>
        <location line="+41"/>
        <source>The scanner is not connected on %1.

Plug it in: Barlink takes it back by itself, there is nothing else to do.

Open the port settings to choose another port?</source>
        <translation>Der Scanner ist nicht an %1 angeschlossen.

Einstecken: Barlink nimmt ihn selbst wieder, sonst ist nichts zu tun.

Anschluss-Einstellungen öffnen, um einen anderen Anschluss zu wählen?</translation>
    </message>
</context>
<context>
    <name>barlink::app::PortPanel</name>
    <message>
        <source>Scanner port:</source>
        <translation>Scanner-Anschluss:</translation>
    </message>
    <message>
        <source>State of the scanner port</source>
        <translation>Zustand des Scanner-Anschlusses</translation>
    </message>
    <message>
        <source>List:</source>
        <translation>Liste:</translation>
    </message>
    <message>
        <source>The list manager&apos;s list: its state and its number of rows</source>
        <translation>Die Liste der Listenverwaltung: Zustand und Zeilenzahl</translation>
    </message>
    <message>
        <source>Journal:</source>
        <translation>Journal:</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>I have seen that journal entries were lost</source>
        <translation>Ich habe gesehen, dass Journaleinträge verloren sind</translation>
    </message>
    <message>
        <source>Shop:</source>
        <translation>Werkstatt:</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Offen</translation>
    </message>
    <message>
        <source>Waiting for the scanner</source>
        <translation>Wartet auf den Scanner</translation>
    </message>
    <message>
        <source>Closed</source>
        <translation>Geschlossen</translation>
    </message>
    <message>
        <source>not open</source>
        <translation>nicht offen</translation>
    </message>
    <message>
        <source>The list manager has not answered yet.</source>
        <translation>Die Listenverwaltung hat noch nicht geantwortet.</translation>
    </message>
    <message>
        <source>list manager not running</source>
        <translation>Listenverwaltung läuft nicht</translation>
    </message>
    <message>
        <source>No list manager holds the bus name %1: rows cannot be added. The next label starts it again.</source>
        <translation>Keine Listenverwaltung hält den Busnamen %1: Zeilen können nicht hinzugefügt werden. Das nächste Etikett startet sie wieder.</translation>
    </message>
    <message>
        <source>list manager not answering</source>
        <translation>Listenverwaltung antwortet nicht</translation>
    </message>
    <message>
        <source>The list manager %1 does not answer: rows cannot be added.</source>
        <translation>Die Listenverwaltung %1 antwortet nicht: Zeilen können nicht hinzugefügt werden.</translation>
    </message>
    <message>
        <source>no session bus</source>
        <translation>kein Sitzungsbus</translation>
    </message>
    <message>
        <source>Barlink reaches the list manager on the session bus, and there is none: rows cannot be added. Start Barlink in a desktop session, or under dbus-run-session.</source>
        <translation>Barlink erreicht die Listenverwaltung über den Sitzungsbus, und es gibt keinen: Zeilen können nicht hinzugefügt werden. Starten Sie Barlink in einer Desktop-Sitzung oder unter dbus-run-session.</translation>
    </message>
    <message>
        <source>1 row</source>
        <translation>1 Zeile</translation>
    </message>
    <message>
        <source>%1 rows</source>
        <translation>%1 Zeilen</translation>
    </message>
    <message>
        <source>taking in the spill file · %1 %</source>
        <translation>Ausweichdatei wird übernommen · %1 %</translation>
    </message>
    <message>
        <source>The entries kept in the spill file go into the journal file, a few at a time between the scans. Every scan meanwhile is on the disk, in the spill file.</source>
        <translation>Die Einträge der Ausweichdatei kommen in die Journaldatei, einige auf einmal zwischen den Scans. Jeder Scan ist inzwischen auf der Platte, in der Ausweichdatei.</translation>
    </message>
    <message>
        <source>written</source>
        <translation>geschrieben</translation>
    </message>
    <message>
        <source>Every scan is on the disk before the scanner hears ACK.</source>
        <translation>Jeder Scan ist auf der Platte, bevor der Scanner ACK hört.</translation>
    </message>
    <message>
        <source>file not written since %1 · %2 kept in the spill file</source>
        <translation>Datei seit %1 nicht geschrieben · %2 in der Ausweichdatei</translation>
    </message>
    <message>
        <source>The journal file cannot be written (%1). Every scan is still on the disk, in the spill file, and goes into the journal file once it can be written.</source>
        <translation>Die Journaldatei kann nicht geschrieben werden (%1). Jeder Scan ist trotzdem auf der Platte, in der Ausweichdatei, und kommt in die Journaldatei, sobald sie wieder geht.</translation>
    </message>
    <message>
        <source>NOT WRITTEN · %1 held in memory since %2</source>
        <translation>NICHT GESCHRIEBEN · %1 seit %2 im Speicher</translation>
    </message>
    <message>
        <source>Neither the journal file nor the spill file can be written (%1). Scans are held in memory and are lost if Barlink ends before a file can be written.</source>
        <translation>Weder Journaldatei noch Ausweichdatei können geschrieben werden (%1). Scans sind nur im Speicher und gehen verloren, wenn Barlink vorher endet.</translation>
    </message>
    <message>
        <source>spill file unreadable</source>
        <translation>Ausweichdatei nicht lesbar</translation>
    </message>
    <message>
        <source>Entries wait in a spill file that cannot be read (%1). They go into the journal file once it can be read.</source>
        <translation>Einträge warten in einer Ausweichdatei, die nicht gelesen werden kann (%1). Sie kommen in die Journaldatei, sobald sie gelesen werden kann.</translation>
    </message>
    <message>
        <source>cannot be tidied</source>
        <translation>kann nicht aufgeräumt werden</translation>
    </message>
    <message>
        <source>Another program is reading the journal file, so that its write-ahead log (%1 MB) cannot be emptied; it is emptied once that program stops reading.</source>
        <translation>Ein anderes Programm liest die Journaldatei, daher kann ihr Write-Ahead-Log (%1 MB) nicht geleert werden; es wird geleert, sobald das Programm aufhört zu lesen.</translation>
    </message>
    <message>
        <source>1 entry lost</source>
        <translation>1 Eintrag verloren</translation>
    </message>
    <message>
        <source>%1 entries lost</source>
        <translation>%1 Einträge verloren</translation>
    </message>
    <message>
        <source>Journal entries could not be read back or kept; the journal&apos;s &quot;entries-lost&quot; entry says which. Click OK once you have seen it.</source>
        <translation>Journaleinträge konnten nicht zurückgelesen oder behalten werden; der Eintrag &quot;entries-lost&quot; im Journal sagt, welche. Klicken Sie auf OK, sobald Sie es gesehen haben.</translation>
    </message>
    <message>
        <source>up to date</source>
        <translation>aktuell</translation>
    </message>
    <message>
        <source>The shop&apos;s server has every entry of this station.</source>
        <translation>Der Werkstatt-Server hat jeden Eintrag dieser Station.</translation>
    </message>
    <message>
        <source>1 entry waiting</source>
        <translation>1 Eintrag wartet</translation>
    </message>
    <message>
        <source>%1 entries waiting</source>
        <translation>%1 Einträge warten</translation>
    </message>
    <message>
        <source> since %1</source>
        <translation> seit %1</translation>
    </message>
    <message>
        <source>On their way to the shop&apos;s server.</source>
        <translation>Unterwegs zum Werkstatt-Server.</translation>
    </message>
</context>
<context>
    <name>barlink::app::RecentScansModel</name>
    <message>
        <location filename="../src/app/RecentScansModel.cpp" line="+97"/>
        <source>Time</source>
        <translation>Zeit</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Label</source>
        <translation>Etikett</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Outcome</source>
        <translation>Ergebnis</translation>
    </message>
</context>
<context>
    <name>barlink::app::ResultPanel</name>
    <message>
        <source>Taken: %1, %2</source>
        <translation>Angenommen: %1, %2</translation>
    </message>
    <message>
        <source>Take back last item</source>
        <translation>Letztes Teil zurücknehmen</translation>
    </message>
    <message>
        <source>Touch the result, or press Enter on it, once you have seen a refusal</source>
        <translation>Ergebnis antippen oder darauf Enter drücken, sobald Sie eine Ablehnung gesehen haben</translation>
    </message>
    <message>
        <source>Take back %1</source>
        <translation>%1 zurücknehmen</translation>
    </message>
    <message>
        <source>1 row</source>
        <translation>1 Zeile</translation>
    </message>
    <message>
        <source>%1 rows</source>
        <translation>%1 Zeilen</translation>
    </message>
    <message>
        <source>The list now: %1 · %2</source>
        <translation>Die Liste jetzt: %1 · %2</translation>
    </message>
    <message>
        <source>The list now: not open</source>
        <translation>Die Liste jetzt: nicht offen</translation>
    </message>
    <message>
        <source>Last label: %1  —  %2</source>
        <translation>Letztes Etikett: %1  —  %2</translation>
    </message>
    <message>
        <source>NO SCANNER</source>
        <translation>KEIN SCANNER</translation>
    </message>
    <message>
        <source>Since %1</source>
        <translation>Seit %1</translation>
    </message>
    <message>
        <source>Since %1: %2 is not there</source>
        <translation>Seit %1: %2 fehlt</translation>
    </message>
    <message>
        <source>Last result: %1</source>
        <translation>Letztes Ergebnis: %1</translation>
    </message>
    <message>
        <source>Labels scanned now are not read. Plug the scanner in (check its cable): Barlink takes it back by itself within a few seconds.</source>
        <translation>Jetzt gescannte Etiketten gehen verloren. Scanner einstecken (Kabel prüfen): Barlink nimmt ihn nach wenigen Sekunden selbst wieder.</translation>
    </message>
</context>
<context>
    <name>barlink::app::ScanPanel</name>
    <message>
        <source>Segment received: %1</source>
        <translation>Teilstück erhalten: %1</translation>
    </message>
    <message>
        <source>Load List</source>
        <translation>Liste laden</translation>
    </message>
    <message>
        <source>Program</source>
        <translation>Programm</translation>
    </message>
    <message>
        <source>Dimensions</source>
        <translation>Maße</translation>
    </message>
    <message>
        <source>Vars A-D</source>
        <translation>Var. A-D</translation>
    </message>
    <message>
        <source>Vars E-I</source>
        <translation>Var. E-I</translation>
    </message>
    <message>
        <source>Automatic Field Selection</source>
        <translation>Automatische Feldwahl</translation>
    </message>
    <message>
        <source>Exclusion insertion</source>
        <translation>Ausschluss einfügen</translation>
    </message>
    <message>
        <source> Last Scan:    </source>
        <translation> Letzter Scan:    </translation>
    </message>
    <message>
        <source>Receiving from the scanner</source>
        <translation>Empfängt vom Scanner</translation>
    </message>
</context>
<context>
    <name>barlink::app::SettingsDialog</name>
    <message>
        <location filename="../src/app/SettingsDialog.cpp" line="+156"/>
        <source>No port is chosen yet.</source>
        <translation>Noch kein Anschluss gewählt.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Port %1 has no option here: OK without a choice stores no port.</source>
        <translation>Anschluss %1 ist hier nicht wählbar: OK ohne Wahl speichert keinen Anschluss.</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>No line settings are stored yet: the usual ones are shown.</source>
        <translation>Noch keine Leitungseinstellungen gespeichert: die üblichen werden gezeigt.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Current line settings: %1. A value without an option here is kept unless you choose another.</source>
        <translation>Aktuelle Leitungseinstellungen: %1. Ein Wert, der hier nicht wählbar ist, bleibt, bis Sie einen anderen wählen.</translation>
    </message>
    <message>
        <location line="+20"/>
        <source>No serial devices found</source>
        <translation>Keine seriellen Geräte gefunden</translation>
    </message>
    <message>
        <location line="+40"/>
        <source>Choose a device from the list or type its path.</source>
        <translation>Gerät aus der Liste wählen oder Pfad tippen.</translation>
    </message>
    <message>
        <location line="+20"/>
        <source>The port could not be opened: %1.
Choose other settings and OK, or Cancel to keep these.</source>
        <translation>Der Anschluss ließ sich nicht öffnen: %1.
Andere Einstellungen wählen und OK, oder Abbrechen, um diese zu behalten.</translation>
    </message>
</context>
<context>
    <name>barlink::app::Station</name>
    <message>
        <source>Settings problems in KTQ.INI: %1, listed in their window and in the journal. Ready.</source>
        <translation>Einstellungsprobleme in KTQ.INI: %1, aufgeführt in ihrem Fenster und im Journal. Bereit.</translation>
    </message>
    <message>
        <location filename="../src/app/Station.cpp" line="+393"/>
        <source>A label is being handled: nothing was taken back.</source>
        <translation>Ein Etikett wird gerade verarbeitet: nichts zurückgenommen.</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>The list changed while the question was open: nothing was taken back.</source>
        <translation>Die Liste hat sich während der Frage geändert: nichts zurückgenommen.</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>The rows could not all be taken out of the list (%1): look at the list.</source>
        <translation>Nicht alle Zeilen ließen sich aus der Liste löschen (%1): Liste prüfen.</translation>
    </message>
</context>
<context>
    <name>barlink::app::StationShell</name>
    <message>
        <location filename="../src/app/StationShell.cpp" line="+186"/>
        <source>Some values in %1 are not used as written. Barlink goes on with what each line says; scanning is not held back.</source>
        <translation>Einige Werte in %1 werden nicht wie geschrieben verwendet. Barlink arbeitet mit dem, was jede Zeile sagt; Scannen geht weiter.</translation>
    </message>
    <message>
        <location line="+70"/>
        <source>The list manager&apos;s window stays where it is: %1</source>
        <translation>Das Fenster der Listenverwaltung bleibt, wo es ist: %1</translation>
    </message>
</context>
<context>
    <name>barlink::app::TryWindow</name>
    <message>
        <location filename="../src/app/TryWindow.cpp" line="-65"/>
        <source>Try a label</source>
        <translation>Etikett ausprobieren</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Labels as the scanner sends them, one per line (escapes: \r \n \xHH \\). Trying adds no row, writes no file and sends nothing to the scanner.</source>
        <translation>Etiketten, wie der Scanner sie sendet, eines pro Zeile (Escapes: \r \n \xHH \\). Ausprobieren fügt keine Zeile an, schreibt keine Datei und sendet nichts an den Scanner.</translation>
    </message>
    <message>
        <location line="+14"/>
        <source>&amp;Try</source>
        <translation>&amp;Ausprobieren</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Try the labels (Ctrl+Enter)</source>
        <translation>Etiketten ausprobieren (Strg+Enter)</translation>
    </message>
    <message>
        <location line="+52"/>
        <source>Type a label to try.</source>
        <translation>Ein Etikett zum Ausprobieren tippen.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>In short</source>
        <translation>Kurz</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>No row would reach the list manager</source>
        <translation>Keine Zeile käme bei der Listenverwaltung an</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Rows as the list manager would receive them</source>
        <translation>Zeilen, wie die Listenverwaltung sie erhielte</translation>
    </message>
</context>
<context>
    <name>barlink::embeddedlist::ListManagerWindow</name>
    <message>
        <location filename="../src/embeddedlist/ListManagerWindow.cpp" line="+32"/>
        <source>List Manager</source>
        <translation>Listenverwaltung</translation>
    </message>
    <message>
        <location line="+24"/>
        <source>The list is hidden.</source>
        <translation>Die Liste ist ausgeblendet.</translation>
    </message>
    <message>
        <location line="+60"/>
        <source>List</source>
        <translation>Liste</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>New List</source>
        <translation>Neue Liste</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Open List...</source>
        <translation>Liste öffnen...</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Save List As...</source>
        <translation>Liste speichern unter...</translation>
    </message>
    <message>
        <location line="+49"/>
        <source>Setpoints: %1</source>
        <translation>Sollwerte: %1</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Rows: %1</source>
        <translation>Zeilen: %1</translation>
    </message>
    <message>
        <location line="+37"/>
        <source>Start a new list? The %1 rows of the current list are removed.</source>
        <translation>Neue Liste beginnen? Die %1 Zeilen der aktuellen Liste werden gelöscht.</translation>
    </message>
    <message>
        <location line="+16"/>
        <source>Open List</source>
        <translation>Liste öffnen</translation>
    </message>
    <message>
        <location line="+0"/>
        <location line="+13"/>
        <source>Lists (*.lst *.LST);;All files (*)</source>
        <translation>Listen (*.lst *.LST);;Alle Dateien (*)</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Save List As</source>
        <translation>Liste speichern unter</translation>
    </message>
</context>
<context>
    <name>barlink::fieldsel::FieldSelectionDialog</name>
    <message>
        <location filename="../src/fieldsel/FieldSelectionDialog.cpp" line="+133"/>
        <source>From Left</source>
        <translation>Von links</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>From Right</source>
        <translation>Von rechts</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Count the position from the left</source>
        <translation>Position von links zählen</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Count the position from the right</source>
        <translation>Position von rechts zählen</translation>
    </message>
</context>
<context>
    <name>barlink::fieldsel::TablePlanWidget</name>
    <message>
        <location filename="../src/fieldsel/TablePlanWidget.cpp" line="+362"/>
        <source>Back</source>
        <translation>Hinten</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Front</source>
        <translation>Vorne</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>not to scale: the half limits are not set</source>
        <translation>nicht maßstäblich: die Halbgrenzen fehlen</translation>
    </message>
    <message>
        <location line="-164"/>
        <location line="+195"/>
        <source>%1 mirror</source>
        <translation>%1 gespiegelt</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>%1: size unknown</source>
        <translation>%1: Größe unbekannt</translation>
    </message>
    <message>
        <location line="+49"/>
        <source>mm</source>
        <translation>mm</translation>
    </message>
</context>
<context>
    <name>barlink::journal::JournalWindow</name>
    <message>
        <location filename="../src/journal/ui/JournalWindow.cpp" line="+35"/>
        <source>Journal</source>
        <translation>Journal</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Search label, reason, field, program</source>
        <translation>Etikett, Grund, Feld, Programm suchen</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>All</source>
        <translation>Alle</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Refused only</source>
        <translation>Nur abgelehnte</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Taken only</source>
        <translation>Nur angenommene</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Failed only</source>
        <translation>Nur Fehler</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>From</source>
        <translation>Von</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>To</source>
        <translation>Bis</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Export...</source>
        <translation>Exportieren...</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>This station</source>
        <translation>Diese Station</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Shop-wide</source>
        <translation>Ganze Werkstatt</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>All stations</source>
        <translation>Alle Stationen</translation>
    </message>
    <message>
        <location line="+14"/>
        <source>nothing found</source>
        <translation>nichts gefunden</translation>
    </message>
    <message>
        <location line="+54"/>
        <source>The journal cannot be read: </source>
        <translation>Das Journal kann nicht gelesen werden: </translation>
    </message>
    <message>
        <location line="+138"/>
        <source>Export the entries shown</source>
        <translation>Gezeigte Einträge exportieren</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>CSV (*.csv)</source>
        <translation>CSV (*.csv)</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>Not exported to %1: it is a file of the scan journal, which an export never writes over.</source>
        <translation>Nicht nach %1 exportiert: Das ist eine Datei des Scan-Journals, die ein Export nie überschreibt.</translation>
    </message>
    <message>
        <location line="+19"/>
        <source>Not exported to %1: %2</source>
        <translation>Nicht nach %1 exportiert: %2</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>1 entry written to %1</source>
        <translation>1 Eintrag nach %1 geschrieben</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>%1 entries written to %2</source>
        <translation>%1 Einträge nach %2 geschrieben</translation>
    </message>
</context>
<context>
    <name>barlink::scanner::ScanPoller</name>
    <message>
        <source>Scanner input too long: %1 characters without a pause were discarded.</source>
        <translation>Scannereingabe zu lang: %1 Zeichen ohne Pause wurden verworfen.</translation>
    </message>
    <message>
        <location filename="../src/scanner/ScanPoller.cpp" line="+23"/>
        <source> Last Scan:    </source>
        <translation> Letzter Scan:    </translation>
    </message>
    <message>
        <location line="+57"/>
        <source>Labels are arriving without the LabelEnd suffix %1: each waits for two quiet poll intervals. Set the scanner to end every label with it, or clear LabelEnd in KTQ.INI.</source>
        <translation>Etiketten kommen ohne das LabelEnd-Endzeichen %1: jedes wartet zwei ruhige Abfragezeiten. Scanner so einstellen, dass jedes Etikett damit endet, oder LabelEnd in KTQ.INI leeren.</translation>
    </message>
</context>
<context>
    <name>barlink::testconsole::TestConsoleWindow</name>
    <message>
        <location filename="../src/testconsole/TestConsoleWindow.cpp" line="+135"/>
        <source>List files (*.lst *.LST)</source>
        <translation>Listendateien (*.lst *.LST)</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>All files (*)</source>
        <translation>Alle Dateien (*)</translation>
    </message>
</context>
<context>
    <name>barlink::fieldsel::AutoSelSettings</name>
    <message>
        <source>%1 From Left</source>
        <translation>%1 von links</translation>
    </message>
    <message>
        <source>%1 From Right</source>
        <translation>%1 von rechts</translation>
    </message>
</context>
<context>
    <name>DoubleScanGuard</name>
    <message>
        <source>Scanned twice: not added again. Scan again to add it.</source>
        <translation>Doppelt gescannt: nicht noch einmal hinzugefügt. Noch einmal scannen, um es hinzuzufügen.</translation>
    </message>
</context>
<context>
    <name>barlink::journal::JournalRecorder</name>
    <message>
        <source>Scan journal not written: %1</source>
        <translation>Scan-Journal nicht geschrieben: %1</translation>
    </message>
    <message>
        <source>Scan journal written again.</source>
        <translation>Scan-Journal wieder geschrieben.</translation>
    </message>
    <message>
        <source>Scan journal damaged (%1): moved aside as %2, a new one was started.</source>
        <translation>Scan-Journal beschädigt (%1): als %2 beiseitegelegt, ein neues wurde begonnen.</translation>
    </message>
    <message>
        <source>Shop journal not reached: %1</source>
        <translation>Werkstatt-Journal nicht erreicht: %1</translation>
    </message>
</context>
</TS>
