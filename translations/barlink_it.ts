<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="it_IT">
<context>
    <name>AboutDialog</name>
    <message>
        <location filename="../src/app/AboutDialog.ui" line="+5"/>
        <source>About Barlink</source>
        <translation>Informazioni su Barlink</translation>
    </message>
    <message>
        <location line="+21"/>
        <source>Barcode Manager, Version </source>
        <translation>Gestione codici a barre, versione </translation>
    </message>
    <message>
        <location line="+2"/>
        <source>For Helicon machine controls, Vantix generation 4.x</source>
        <translation>Per controlli macchina Helicon, Vantix generazione 4.x</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Scanned barcode labels become rows of the machine&apos;s list.</source>
        <translation>Le etichette lette diventano righe della lista della macchina.</translation>
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
        <translation> Esclusione numero %1  da inserire.</translation>
    </message>
</context>
<context>
    <name>ExclusionDialog</name>
    <message>
        <location filename="../src/exclusion/ExclusionDialog.ui" line="+5"/>
        <source>Exclusion Insertion</source>
        <translation>Inserimento esclusione</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Automatic insertion of an Exclusion number in the List Manager upon scan of barcode.  Select desired Exclusion number to insert.</source>
        <translation>Alla lettura di un&apos;etichetta viene inserito un numero di esclusione nella lista.  Scegliere il numero di esclusione da inserire.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>1</source>
        <translation>1</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Exclusion 1</source>
        <translation>Esclusione 1</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>2</source>
        <translation>2</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Exclusion 2</source>
        <translation>Esclusione 2</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>3</source>
        <translation>3</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Exclusion 3</source>
        <translation>Esclusione 3</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>4</source>
        <translation>4</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Exclusion 4</source>
        <translation>Esclusione 4</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>5</source>
        <translation>5</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Exclusion 5</source>
        <translation>Esclusione 5</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>6</source>
        <translation>6</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Exclusion 6</source>
        <translation>Esclusione 6</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>7</source>
        <translation>7</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Exclusion 7</source>
        <translation>Esclusione 7</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>8</source>
        <translation>8</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Exclusion 8</source>
        <translation>Esclusione 8</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Cancel</source>
        <translation>Annulla</translation>
    </message>
</context>
<context>
    <name>FieldSelectionDialog</name>
    <message>
        <location filename="../src/fieldsel/FieldSelectionDialog.ui" line="+6"/>
        <source>Automatic Field Selection Setup</source>
        <translation>Impostazione scelta automatica del campo</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>Auto Field Select</source>
        <translation>Scelta automatica campo</translation>
    </message>
    <message>
        <location line="+23"/>
        <source>Trigger Source</source>
        <translation>Origine del comando</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Barcode</source>
        <translation>Etichetta</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Comment</source>
        <translation>Commento</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Program Name</source>
        <translation>Nome programma</translation>
    </message>
    <message>
        <location line="+32"/>
        <source>Default Field</source>
        <translation>Campo predefinito</translation>
    </message>
    <message>
        <location line="+28"/>
        <location line="+12"/>
        <source>Mirror</source>
        <translation>Specchiare</translation>
    </message>
    <message>
        <location line="-6"/>
        <source>On Match Produce: </source>
        <translation>Se corrisponde, produrre: </translation>
    </message>
    <message>
        <location line="+16"/>
        <source>Norm and Mirror</source>
        <translation>Normale e specchiato</translation>
    </message>
    <message>
        <location line="+17"/>
        <source>Set Characters to Trigger Mirror </source>
        <translation>Caratteri che attivano lo specchio </translation>
    </message>
    <message>
        <location line="+29"/>
        <source>????????????????????????</source>
        <translation>????????????????????????</translation>
    </message>
    <message>
        <location line="+68"/>
        <source>Standard Fields</source>
        <translation>Campi standard</translation>
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
        <translation>In ogni campo il codice in alto è il campo normale (S, T, N), quello in basso il suo speculare (A, R, M). Si scelgono solo i campi spuntati; N e M non servono spuntati: prendono ogni pezzo che nessun altro campo prende.</translation>
    </message>
    <message>
        <location line="+18"/>
        <source>Front and Back</source>
        <translation>Davanti e dietro</translation>
    </message>
    <message>
        <location line="+328"/>
        <source>In each field the upper code is the normal field (S, T, N) and the lower one its mirror (A, R, M). Only ticked fields are chosen.</source>
        <translation>In ogni campo il codice in alto è il campo normale (S, T, N), quello in basso il suo speculare (A, R, M). Si scelgono solo i campi spuntati.</translation>
    </message>
    <message>
        <location line="+18"/>
        <source>Field Limits</source>
        <translation>Limiti dei campi</translation>
    </message>
    <message>
        <location line="+22"/>
        <source>A piece fits in the left or right half of the table when its X dimension is below the X half limit, and in the front or back half when its Y dimension is below the Y half limit.</source>
        <translation>Un pezzo entra nella metà sinistra o destra del piano se la sua X è sotto il limite X, e nella metà davanti o dietro se la sua Y è sotto il limite Y.</translation>
    </message>
    <message>
        <location line="+23"/>
        <source>Set All</source>
        <translation>Tutti</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Enable all fields on this tab</source>
        <translation>Attivare tutti i campi di questa scheda</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Clear All</source>
        <translation>Nessuno</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Disable all fields on this tab</source>
        <translation>Disattivare tutti i campi di questa scheda</translation>
    </message>
    <message>
        <location line="+17"/>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Exit and keep changes</source>
        <translation>Chiudere e tenere le modifiche</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Cancel</source>
        <translation>Annulla</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Exit and loose changes</source>
        <translation>Chiudere e scartare le modifiche</translation>
    </message>
</context>
<context>
    <name>FieldSelector</name>
    <message>
        <location filename="../src/fieldsel/FieldSelector.cpp" line="+125"/>
        <source>mirror fields, R first</source>
        <translation>campi speculari, prima R</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>mirror fields, A first</source>
        <translation>campi speculari, prima A</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>normal fields, T first</source>
        <translation>campi normali, prima T</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>normal fields, S first</source>
        <translation>campi normali, prima S</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>piece %1 x %2 %3 (%4), %5</source>
        <translation>pezzo %1 x %2 %3 (%4), %5</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>taken as millimetres</source>
        <translation>preso in millimetri</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>under 140 x 60: taken as inches</source>
        <translation>sotto 140 x 60: preso in pollici</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>: fits, chosen</source>
        <translation>: ci sta, scelto</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>: no candidate fits, the last one is taken</source>
        <translation>: nessun campo va bene, si prende l&apos;ultimo</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>: off</source>
        <translation>: spento</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>x under %1 and y under %2</source>
        <translation>x sotto %1 e y sotto %2</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>x under %1</source>
        <translation>x sotto %1</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>y under %1</source>
        <translation>y sotto %1</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>%1: needs %2 %3, does not fit</source>
        <translation>%1: richiede %2 %3, non ci sta</translation>
    </message>
</context>
<context>
    <name>JournalWords</name>
    <message>
        <location filename="../src/journal/ui/JournalTableModel.cpp" line="+31"/>
        <source>Time</source>
        <translation>Ora</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Station</source>
        <translation>Postazione</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Source</source>
        <translation>Origine</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Label</source>
        <translation>Etichetta</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Kind</source>
        <translation>Tipo</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Outcome</source>
        <translation>Esito</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Reason</source>
        <translation>Motivo</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Field</source>
        <translation>Campo</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Program</source>
        <translation>Programma</translation>
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
        <translation>Righe</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>scanner</source>
        <translation>scanner</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>typed</source>
        <translation>digitata</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>station</source>
        <translation>postazione</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>command</source>
        <translation>comando</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>field code</source>
        <translation>codice campo</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>segment</source>
        <translation>segmento</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>plain name</source>
        <translation>nome semplice</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>list</source>
        <translation>lista</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>program barcode</source>
        <translation>codice a barre programma</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>compressed label</source>
        <translation>etichetta compressa</translation>
    </message>
    <message>
        <location line="+1"/>
        <location line="+21"/>
        <source>station event</source>
        <translation>evento postazione</translation>
    </message>
    <message>
        <location line="-19"/>
        <source>start</source>
        <translation>avvio</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>end</source>
        <translation>fine</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>port opened</source>
        <translation>porta aperta</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>port lost</source>
        <translation>porta persa</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>port back</source>
        <translation>porta di nuovo presente</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>list cleared</source>
        <translation>lista svuotata</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>list started</source>
        <translation>lista avviata</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>list held</source>
        <translation>lista fermata</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>entries lost</source>
        <translation>voci perse</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>journal back</source>
        <translation>registro di nuovo scritto</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>entries held</source>
        <translation>voci in attesa scritte</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>journal damaged</source>
        <translation>registro danneggiato</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>forwarding stalled</source>
        <translation>inoltro fermo</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>forwarding resumed</source>
        <translation>inoltro ripreso</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>item taken back</source>
        <translation>pezzo annullato</translation>
    </message>
    <message>
        <source>spill file unreadable</source>
        <translation>file di riserva illeggibile</translation>
    </message>
    <message>
        <source>spill file readable</source>
        <translation>file di riserva leggibile</translation>
    </message>
    <message>
        <source>journal not tidied</source>
        <translation>giornale non riordinato</translation>
    </message>
    <message>
        <source>journal tidied</source>
        <translation>giornale riordinato</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>taken</source>
        <translation>accettata</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>waiting</source>
        <translation>in attesa</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>refused</source>
        <translation>rifiutata</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>failed</source>
        <translation>fallita</translation>
    </message>
</context>
<context>
    <name>ListColumns</name>
    <message>
        <location filename="../src/embeddedlist/RowFields.cpp" line="+69"/>
        <source>Program</source>
        <translation>Programma</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Comment</source>
        <translation>Commento</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Repeat</source>
        <translation>Ripet.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Count</source>
        <translation>Numero</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Field</source>
        <translation>Campo</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Mirror</source>
        <translation>Specchio</translation>
    </message>
</context>
<context>
    <name>ListRow</name>
    <message>
        <location filename="../src/label/ListRow.cpp" line="+73"/>
        <source>program</source>
        <translation>programma</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>comment</source>
        <translation>commento</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>repeat</source>
        <translation>ripetizione</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>count</source>
        <translation>numero</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>work field number</source>
        <translation>numero del campo di lavoro</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>mirror (1 for an even field number)</source>
        <translation>specchio (1 per numero di campo pari)</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>reserved (a space)</source>
        <translation>riservato (uno spazio)</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>not used</source>
        <translation>non usato</translation>
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
        <translation>Pronto.</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>&amp;File</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>&amp;Options</source>
        <translation>&amp;Opzioni</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>&amp;View</source>
        <translation>&amp;Visualizza</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>&amp;Tools</source>
        <translation>S&amp;trumenti</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>&amp;?</source>
        <translation>&amp;?</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>E&amp;xit</source>
        <translation>&amp;Esci</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>&amp;Settings</source>
        <translation>&amp;Impostazioni</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>&amp;Auto Field Select</source>
        <translation>Scelta &amp;automatica campo</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>&amp;Exclusion Insertion</source>
        <translation>Inserimento &amp;esclusione</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>&amp;Journal</source>
        <translation>&amp;Registro</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Ctrl+J</source>
        <translation>Ctrl+J</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>&amp;List Manager</source>
        <translation>Gestione &amp;lista</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>&amp;Guide</source>
        <translation>&amp;Guida</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>F1</source>
        <translation>F1</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>&amp;About BarLink ...</source>
        <translation>&amp;Informazioni su BarLink ...</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>&amp;Try a label…</source>
        <translation>&amp;Prova un&apos;etichetta…</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Ctrl+T</source>
        <translation>Ctrl+T</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Take &amp;back last item…</source>
        <translation>&amp;Annulla ultimo pezzo…</translation>
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
        <translation>%1, misura sconosciuta</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>its mirror in %1</source>
        <translation>lo speculare in %1</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>mirrored in %1</source>
        <translation>specchiato in %1</translation>
    </message>
    <message>
        <location line="+4"/>
        <source> and </source>
        <translation> e </translation>
    </message>
</context>
<context>
    <name>Reason</name>
    <message>
        <source>device disconnected</source>
        <translation>dispositivo scollegato</translation>
    </message>
    <message>
        <location filename="../src/base/Reasons.h" line="+12"/>
        <source>scanned twice: the same piece as the item taken %1 s before</source>
        <translation>letta due volte: lo stesso pezzo accettato %1 s prima</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Name refused: %1 reaches outside its folder.</source>
        <translation>Nome rifiutato: %1 esce dalla sua cartella.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>%1 refused: %2 holds &quot;;&quot;, which would end a field of the list row.</source>
        <translation>%1 rifiutato: %2 contiene &quot;;&quot;, che chiuderebbe un campo della riga di lista.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>%1 refused: %2 holds a control character, which no list row can carry.</source>
        <translation>%1 rifiutato: %2 contiene un carattere di controllo, che nessuna riga di lista può portare.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Name</source>
        <translation>Nome</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Dimension %1</source>
        <translation>Misura %1</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Work field</source>
        <translation>Campo di lavoro</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>no program is named: a row is never sent without one</source>
        <translation>nessun programma indicato: senza programma non si invia mai una riga</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>the label holds %1 but does not start with %, so it is no segment</source>
        <translation>l&apos;etichetta contiene %1 ma non inizia con %, quindi non è un segmento</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>the label is too short to be a segment</source>
        <translation>l&apos;etichetta è troppo corta per essere un segmento</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>the label starts with %%1, which is no known segment</source>
        <translation>l&apos;etichetta inizia con %%1, che non è un segmento noto</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>segment %%1 was already scanned for this item</source>
        <translation>il segmento %%1 è già stato letto per questo pezzo</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>no work field chosen</source>
        <translation>nessun campo di lavoro scelto</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>the item names no program: no dimensions</source>
        <translation>il pezzo non indica alcun programma: nessuna misura</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>%1 is not in %2: no dimensions</source>
        <translation>%1 non c&apos;è in %2: nessuna misura</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>the current folder</source>
        <translation>questa cartella</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>ignored: the label is nothing but blanks and control characters once the scanner&apos;s line end is removed</source>
        <translation>ignorata: tolto il fine riga del lettore, l&apos;etichetta è fatta solo di spazi e caratteri di controllo</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>it could not be read: %1</source>
        <translation>non si è potuta leggere: %1</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>The hardware is not available: %1</source>
        <translation>L&apos;hardware non è disponibile: %1</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>The hardware is not available: %1 (%2)</source>
        <translation>L&apos;hardware non è disponibile: %1 (%2)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Invalid port number: %1</source>
        <translation>Porta non valida: %1</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Invalid port number: %1 (%2)</source>
        <translation>Porta non valida: %1 (%2)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Port already open: %1</source>
        <translation>Porta già aperta: %1</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Port already open: %1 (%2)</source>
        <translation>Porta già aperta: %1 (%2)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Could not set comm state: %1</source>
        <translation>Impossibile impostare la porta: %1</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Could not set comm state: %1 (%2)</source>
        <translation>Impossibile impostare la porta: %1 (%2)</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Port already open: another program uses the scanner on %1</source>
        <translation>Porta già aperta: un altro programma usa il lettore su %1</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Permission denied: %1. This user is not allowed to use serial devices; an administrator must allow it (on Debian: add the user to the dialout group, then log in again)</source>
        <translation>Permesso negato: %1. Questo utente non può usare dispositivi seriali; un amministratore deve permetterlo (su Debian: aggiungere l&apos;utente al gruppo dialout, poi accedere di nuovo)</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>%1=%2 is not used: %3. %4</source>
        <translation>%1=%2 non viene usato: %3. %4</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>a whole number of days from 0 to %1 is expected</source>
        <translation>serve un numero intero di giorni da 0 a %1</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>a whole number of seconds from 0 to %1 is expected</source>
        <translation>serve un numero intero di secondi da 0 a %1</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>a number from %1 to %2 is expected, with a point before any decimals</source>
        <translation>serve un numero da %1 a %2, con il punto prima dei decimali</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>a whole number of milliseconds from %1 to %2 is expected</source>
        <translation>è atteso un numero intero di millisecondi da %1 a %2</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>0 or 1 is expected</source>
        <translation>serve 0 o 1</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>a time of day as HH:MM (06:00) is expected</source>
        <translation>serve un orario come HH:MM (06:00)</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>at most %1 characters without a control character are expected</source>
        <translation>servono al massimo %1 caratteri senza caratteri di controllo</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>%1, and a libpq connection string is expected (&quot;host=... dbname=... user=...&quot; or &quot;postgresql://...&quot;)</source>
        <translation>%1, e serve una stringa di connessione libpq (&quot;host=... dbname=... user=...&quot; o &quot;postgresql://...&quot;)</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>it is longer than %1 characters</source>
        <translation>è più lunga di %1 caratteri</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>it holds a control character</source>
        <translation>contiene un carattere di controllo</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>a postgresql:// address holds no blanks</source>
        <translation>un indirizzo postgresql:// non contiene spazi</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>a keyword is expected before the &quot;=&quot; at character %1</source>
        <translation>serve una parola chiave prima del &quot;=&quot; al carattere %1</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>&quot;%1&quot; is not followed by &quot;=&quot; and a value</source>
        <translation>&quot;%1&quot; non è seguito da &quot;=&quot; e da un valore</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>the value of &quot;%1&quot; has no closing quote</source>
        <translation>al valore di &quot;%1&quot; manca l&apos;apice di chiusura</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>%1 is used instead.</source>
        <translation>Si usa invece %1.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>0 is used instead: an item scanned twice is not refused.</source>
        <translation>Si usa invece 0: un pezzo letto due volte non viene rifiutato.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>The usual colours are used.</source>
        <translation>Si usano i colori normali.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>The counters start at midnight.</source>
        <translation>I contatori partono a mezzanotte.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>No sound is played.</source>
        <translation>Nessun suono.</translation>
    </message>
    <message>
        <source>Buttons and boxes keep their usual size.</source>
        <translation>Pulsanti e caselle mantengono la dimensione normale.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>The list manager&apos;s window stays where it opens.</source>
        <translation>La finestra del gestore delle liste resta dove si apre.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Nothing is sent to the scanner when a label is refused.</source>
        <translation>Quando un&apos;etichetta è rifiutata non si invia nulla al lettore.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>only control characters are expected: \r, \n, or \xHH from \x00 to \x1f or \x7f</source>
        <translation>servono solo caratteri di controllo: \r, \n o \xHH da \x00 a \x1f o \x7f</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>A label ends when the scanner has been quiet for two poll intervals.</source>
        <translation>Un&apos;etichetta finisce quando il lettore tace per due intervalli di lettura.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>a bus name of two or more parts joined by &quot;.&quot; is expected, each of letters, digits, _ and -, none beginning with a digit</source>
        <translation>è atteso un nome di bus di due o più parti unite da &quot;.&quot;, ciascuna di lettere, cifre, _ e -, nessuna che inizi con una cifra</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>The host name is used instead.</source>
        <translation>Si usa invece il nome del computer.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Nothing is forwarded to a shop-wide journal.</source>
        <translation>Nulla viene inoltrato a un registro di reparto.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>RefuseReply=%1 holds &quot;ACK&quot; and a carriage return, which the scanner hears when a label is taken: it may take a refused label for a taken one. It is used as written.</source>
        <translation>RefuseReply=%1 contiene &quot;ACK&quot; e un ritorno a capo, che il lettore riceve quando un&apos;etichetta è accettata: potrebbe scambiare un&apos;etichetta rifiutata per accettata. Viene usato come scritto.</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>CommPollTime=%1 is more than %2 ms, which would keep a scanned label waiting for its answer too long: %2 is used instead.</source>
        <translation>CommPollTime=%1 supera %2 ms, un&apos;etichetta letta aspetterebbe troppo la sua risposta: si usa invece %2.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>a whole number of milliseconds from 100 to %1 is expected</source>
        <translation>è atteso un numero intero di millisecondi da 100 a %1</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>a port number of at most %1 is expected</source>
        <translation>è atteso un numero di porta non superiore a %1</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>0, 1 or 2 is expected</source>
        <translation>è atteso 0, 1 o 2</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>%1 is given on line %2 and again on line %3: the value on line %2 is used.</source>
        <translation>%1 compare alla riga %2 e di nuovo alla riga %3: vale il valore della riga %2.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>[%1] is given on line %2 and again on line %3: nothing from line %3 on is read.</source>
        <translation>[%1] compare alla riga %2 e di nuovo alla riga %3: dalla riga %3 in poi non si legge nulla.</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>&quot;%1&quot; has no single-byte code at character %2</source>
        <translation>&quot;%1&quot; non ha un codice a un byte, al carattere %2</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>a lone \ at the end at character %1</source>
        <translation>un \ isolato alla fine, al carattere %1</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>\x without two hexadecimal digits at character %1</source>
        <translation>\x senza due cifre esadecimali al carattere %1</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>\%1 is no escape (\r, \n, \xHH, \\) at character %2</source>
        <translation>\%1 non è un escape (\r, \n, \xHH, \\), al carattere %2</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Program barcode abandoned: %1</source>
        <translation>Codice a barre del programma interrotto: %1</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>the list manager failed to %1: %2</source>
        <translation>il gestore delle liste non è riuscito a %1: %2</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>add the row</source>
        <translation>aggiungere la riga</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>start the list</source>
        <translation>avviare la lista</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>clear the list</source>
        <translation>svuotare la lista</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>it names no program file.</source>
        <translation>non indica alcun file di programma.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>the program file %1 could not be written (%2).</source>
        <translation>non è stato possibile scrivere il file di programma %1 (%2).</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>List File %1 Not Found</source>
        <translation>File di lista %1 non trovato</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Rows of this item already added: %1.</source>
        <translation>Righe di questo pezzo già aggiunte: %1.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>%1 Rows of this item already added: %2.</source>
        <translation>%1 Righe di questo pezzo già aggiunte: %2.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>%1. Rows of this item already added: %2.</source>
        <translation>%1. Righe di questo pezzo già aggiunte: %2.</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>list emptied: %1 rows from before</source>
        <translation>lista svuotata: %1 righe di prima</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>list emptied: 1 row from before</source>
        <translation>lista svuotata: 1 riga di prima</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>list emptied: the list did not tell how many rows it held</source>
        <translation>lista svuotata: la lista non ha detto quante righe conteneva</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>program file %1 (%2 bytes)</source>
        <translation>file di programma %1 (%2 byte)</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>companion CSV %1 moved into %2</source>
        <translation>CSV di accompagnamento %1 spostato in %2</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>no session bus: Barlink reaches the list manager over the session bus. Start Barlink in a desktop session, or under dbus-run-session</source>
        <translation>nessun bus di sessione: Barlink raggiunge il gestore liste tramite il bus di sessione. Avviare Barlink in una sessione desktop o con dbus-run-session</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>the list manager %1 did not answer within %2 s</source>
        <translation>il gestore liste %1 non ha risposto entro %2 s</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>the list manager %1 ended</source>
        <translation>il gestore liste %1 è terminato</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>the list manager %1 is not running and cannot be started: %2</source>
        <translation>il gestore liste %1 non è in esecuzione e non può essere avviato: %2</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>%1 did not take the name in time</source>
        <translation>%1 non ha preso il nome in tempo</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>File not found</source>
        <translation>File non trovato</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Path not found</source>
        <translation>Percorso non trovato</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Permission denied</source>
        <translation>Permesso negato</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Disk full</source>
        <translation>Disco pieno</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Path/File access error</source>
        <translation>Errore di accesso al percorso/file</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Device I/O error</source>
        <translation>Errore di I/O del dispositivo</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Out of memory</source>
        <translation>Memoria esaurita</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Overflow</source>
        <translation>Overflow</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Subscript out of range</source>
        <translation>Indice fuori dell&apos;intervallo</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Invalid procedure call or argument</source>
        <translation>Chiamata di procedura o argomento non validi</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Object variable or With block variable not set</source>
        <translation>Variabile oggetto o variabile del blocco With non impostata</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>The device is not open</source>
        <translation>Il dispositivo non è aperto</translation>
    </message>
    <message>
        <source>the program&apos;s comment held &quot;;&quot; or a control character: sent with a space in its place</source>
        <translation>il commento del programma conteneva &quot;;&quot; o un carattere di controllo: inviato con uno spazio al suo posto</translation>
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
        <translation>Ferma</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Running</source>
        <translation>In corso</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Held</source>
        <translation>Sospesa</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Ended</source>
        <translation>Terminata</translation>
    </message>
</context>
<context>
    <name>ScanResult</name>
    <message>
        <location filename="../src/app/ScanResult.cpp" line="+41"/>
        <source>READY</source>
        <translation>PRONTO</translation>
    </message>
    <message>
        <location line="+3"/>
        <location line="+28"/>
        <location line="+9"/>
        <source>Ready for the next piece</source>
        <translation>Pronto per il pezzo successivo</translation>
    </message>
    <message>
        <location line="-21"/>
        <source>%1 × %2 mm</source>
        <translation>%1 × %2 mm</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>size unknown</source>
        <translation>misura sconosciuta</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>%1 rows</source>
        <translation>%1 righe</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>Scan the dimensions label of %1</source>
        <translation>Leggere l&apos;etichetta misure di %1</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Scan the program label for the piece of %1 × %2 mm</source>
        <translation>Leggere l&apos;etichetta programma del pezzo %1 × %2 mm</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Scan the next label of %1</source>
        <translation>Leggere l&apos;etichetta successiva di %1</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>WARNING</source>
        <translation>AVVISO</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>WAITING</source>
        <translation>IN ATTESA</translation>
    </message>
    <message>
        <source>TAKEN BACK</source>
        <translation>ANNULLATO</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>REFUSED</source>
        <translation>RIFIUTATA</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>It was not added again. To add one more of the same piece, scan it again.</source>
        <translation>Non aggiunta di nuovo. Per un altro pezzo uguale, leggerla ancora.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Nothing was added to the list. Check the label and scan it again, or type it with Edit.</source>
        <translation>Niente aggiunto alla lista. Controllare l&apos;etichetta e rileggerla, o digitarla con Modifica.</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>FAILED</source>
        <translation>ERRORE</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Rows of this label are in the list already: look at the list before you scan it again.</source>
        <translation>Righe di questa etichetta sono già nella lista: guardare la lista prima di rileggerla.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Nothing was added to the list. Put the cause right, then scan the label again.</source>
        <translation>Niente aggiunto alla lista. Eliminare la causa, poi rileggere l&apos;etichetta.</translation>
    </message>
</context>
<context>
    <name>ScanWords</name>
    <message>
        <location filename="../src/app/ScanWords.cpp" line="+27"/>
        <source>List ended</source>
        <translation>Lista terminata</translation>
    </message>
    <message>
        <source>Setpoint set</source>
        <translation>Setpoint impostato</translation>
    </message>
    <message>
        <source>Labels of the item so far dropped; the list is as it was</source>
        <translation>Etichette del pezzo finora scartate; la lista è com&apos;era</translation>
    </message>
    <message>
        <source>List emptied</source>
        <translation>Lista svuotata</translation>
    </message>
    <message>
        <source>List emptied (1 row)</source>
        <translation>Lista svuotata (1 riga)</translation>
    </message>
    <message>
        <source>List emptied (%1 rows)</source>
        <translation>Lista svuotata (%1 righe)</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Work field set for the next item: %1</source>
        <translation>Campo di lavoro per il pezzo successivo: %1</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>List file loaded: %1</source>
        <translation>File lista caricato: %1</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>%1 rows</source>
        <translation>%1 righe</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Taken</source>
        <translation>Accettata</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Taken: </source>
        <translation>Accettata: </translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Taken, but %1</source>
        <translation>Accettata, ma %1</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Waiting for the dimensions label</source>
        <translation>In attesa dell&apos;etichetta misure</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Waiting for the program label</source>
        <translation>In attesa dell&apos;etichetta programma</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Waiting for the next label</source>
        <translation>In attesa dell&apos;etichetta successiva</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>List cleared</source>
        <translation>Lista svuotata</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>List cleared: 1 row left from before removed</source>
        <translation>Lista svuotata: tolta 1 riga rimasta da prima</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>List cleared: %1 rows left from before removed</source>
        <translation>Lista svuotata: tolte %1 righe rimaste da prima</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Station started</source>
        <translation>Postazione avviata</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Station ended</source>
        <translation>Postazione chiusa</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Scanner port opened</source>
        <translation>Porta scanner aperta</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Scanner port lost</source>
        <translation>Porta scanner persa</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Scanner port back</source>
        <translation>Porta scanner di nuovo presente</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>List started</source>
        <translation>Lista avviata</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>List held</source>
        <translation>Lista sospesa</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Shop journal not reached</source>
        <translation>Registro di reparto non raggiunto</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Shop journal reached again</source>
        <translation>Registro di reparto di nuovo raggiunto</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Taken back</source>
        <translation>Annullato</translation>
    </message>
    <message>
        <source>Spill file of the journal cannot be read</source>
        <translation>Il file di riserva del giornale non si può leggere</translation>
    </message>
    <message>
        <source>Spill file of the journal read again</source>
        <translation>File di riserva del giornale letto di nuovo</translation>
    </message>
    <message>
        <source>Journal cannot be tidied</source>
        <translation>Il giornale non si può riordinare</translation>
    </message>
    <message>
        <source>Journal tidied again</source>
        <translation>Giornale di nuovo riordinato</translation>
    </message>
    <message>
        <location line="+20"/>
        <source>field %1</source>
        <translation>campo %1</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>field %1 (%2)</source>
        <translation>campo %1 (%2)</translation>
    </message>
    <message>
        <location line="+23"/>
        <source>Refused</source>
        <translation>Rifiutata</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Failed</source>
        <translation>Fallita</translation>
    </message>
</context>
<context>
    <name>SettingsDialog</name>
    <message>
        <location filename="../src/app/SettingsDialog.ui" line="+5"/>
        <source>Settings</source>
        <translation>Impostazioni</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>&amp;Com Port</source>
        <translation>Porta &amp;COM</translation>
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
        <translation>Velocità (&amp;baud)</translation>
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
        <translation>&amp;Parità</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>None</source>
        <translation>Nessuna</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Odd</source>
        <translation>Dispari</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Even</source>
        <translation>Pari</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>&amp;Data Bits</source>
        <translation>Bit di &amp;dati</translation>
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
        <translation>Bit di &amp;stop</translation>
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
        <translation>&amp;Dispositivo seriale</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Device:</source>
        <translation>Dispositivo:</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Open this device instead of Com1 to Com4</source>
        <translation>Aprire questo dispositivo invece di Com1-Com4</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>/dev/ttyUSB0</source>
        <translation>/dev/ttyUSB0</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>The device&apos;s path; choose one below or type it</source>
        <translation>Percorso del dispositivo; sceglierlo sotto o digitarlo</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>The serial devices this system has</source>
        <translation>I dispositivi seriali di questo computer</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Cancel</source>
        <translation>Annulla</translation>
    </message>
</context>
<context>
    <name>Startup</name>
    <message>
        <location filename="../src/app/Startup.cpp" line="+39"/>
        <source>The list manager has not handed out a list.</source>
        <translation>La gestione lista non ha fornito una lista.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>

Retry to wait for the list again, Cancel to go on without a list.</source>
        <translation>

Riprova: attendere ancora la lista. Annulla: continuare senza lista.</translation>
    </message>
    <message>
        <location filename="../src/app/Startup.h" line="+60"/>
        <source>the BarCode Program is already running!</source>
        <translation>il programma codici a barre è già in esecuzione!</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>No list from the list manager: rows cannot be added.</source>
        <translation>Nessuna lista dalla gestione lista: non si possono aggiungere righe.</translation>
    </message>
</context>
<context>
    <name>StatusTexts</name>
    <message>
        <location filename="../src/base/StatusTexts.h" line="+15"/>
        <source>Ready.</source>
        <translation>Pronto.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Type the Barcode-Label.</source>
        <translation>Digitare l&apos;etichetta.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Reading Barcode-Label.</source>
        <translation>Lettura etichetta.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Wait saving g-code.</source>
        <translation>Attendere, salvataggio G-code.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Adding to Barcode data to List.</source>
        <translation>Aggiunta dei dati dell&apos;etichetta alla lista.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Run Field Not Selected</source>
        <translation>Campo di lavoro non scelto</translation>
    </message>
    <message>
        <location line="+4"/>
        <source> Waiting for next barcode...</source>
        <translation> In attesa dell&apos;etichetta successiva...</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Barcode Formating Error.</source>
        <translation>Errore di formato dell&apos;etichetta.</translation>
    </message>
</context>
<context>
    <name>TakeBack</name>
    <message>
        <location filename="../src/app/TakeBack.cpp" line="+12"/>
        <source>The list is running: the last item cannot be taken back now. Hold the list first, or take the rows out at the machine control.</source>
        <translation>La lista è in corso: ora l&apos;ultimo pezzo non si può annullare. Sospendere prima la lista, o togliere le righe dal controllo macchina.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>The list has changed since the last item went: its rows are no longer the last rows of the list. Take them out at the machine control.</source>
        <translation>La lista è cambiata dopo l&apos;ultimo pezzo: le sue righe non sono più le ultime. Toglierle dal controllo macchina.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>The machine is on the last item&apos;s rows: they cannot be taken back.</source>
        <translation>La macchina è sulle righe dell&apos;ultimo pezzo: non si possono annullare.</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>No item has gone into the list since Barlink started, or the last one was taken back already.</source>
        <translation>Da quando Barlink è partito nessun pezzo è andato in lista, o l&apos;ultimo è già stato annullato.</translation>
    </message>
    <message>
        <source>Nothing of the label shown went into the list: there is nothing of it to take back.</source>
        <translation>Dell&apos;etichetta mostrata non è andato niente in lista: non c&apos;è niente da annullare.</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>The list manager cannot tell what its list holds (%1): nothing was taken back.</source>
        <translation>La gestione lista non sa dire cosa contiene la lista (%1): niente annullato.</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>row %1: %2, %3</source>
        <translation>riga %1: %2, %3</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Take back the last item? These rows are removed from the list:</source>
        <translation>Annullare l&apos;ultimo pezzo? Queste righe vengono tolte dalla lista:</translation>
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
        <translation>File lista per Open List</translation>
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
        <translation>Scegliere il file lista da aprire</translation>
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
        <translation>Comandi di modifica della lista</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>Add Line</source>
        <translation>Add Line</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Row for Add Line</source>
        <translation>Riga per Add Line</translation>
    </message>
    <message>
        <location line="+13"/>
        <location line="+56"/>
        <source>Insert Runlist fields separated by the &quot;;&quot; character. Example : #161=forpunte.CNC;#168=600;#169=600;#170=20</source>
        <translation>Inserire i campi della lista separati da &quot;;&quot;. Esempio : #161=forpunte.CNC;#168=600;#169=600;#170=20</translation>
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
        <translation>Numero di riga per Set Line</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>Specify the number of the line to modify.</source>
        <translation>Indicare il numero della riga da modificare.</translation>
    </message>
    <message>
        <location line="+16"/>
        <source>Row for Set Line</source>
        <translation>Riga per Set Line</translation>
    </message>
    <message>
        <location line="+31"/>
        <source>Del Line</source>
        <translation>Del Line</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Line for Del Line</source>
        <translation>Numero di riga per Del Line</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>Specify the number of the line to delete.</source>
        <translation>Indicare il numero della riga da cancellare.</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>Get Line</source>
        <translation>Get Line</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Line for Get Line</source>
        <translation>Numero di riga per Get Line</translation>
    </message>
    <message>
        <location line="+19"/>
        <source>Row read by Get Line</source>
        <translation>Riga letta da Get Line</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Append List</source>
        <translation>Append List</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>List file for Append List</source>
        <translation>File lista per Append List</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Choose the list file to append</source>
        <translation>Scegliere il file lista da aggiungere</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Specify the name of the list</source>
        <translation>Indicare il nome della lista</translation>
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
        <translation>la riga %1 della lista verrebbe cancellata</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>row %1 of the list would be changed</source>
        <translation>la riga %1 della lista verrebbe modificata</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>the rows of %1 would be added</source>
        <translation>le righe di %1 verrebbero aggiunte</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>the list would be cleared</source>
        <translation>la lista verrebbe svuotata</translation>
    </message>
    <message>
        <location line="+32"/>
        <source>list file %1 would be opened</source>
        <translation>il file lista %1 verrebbe aperto</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>the list would be started</source>
        <translation>la lista verrebbe avviata</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>the list would be held</source>
        <translation>la lista verrebbe fermata</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>the list would be ended</source>
        <translation>la lista verrebbe chiusa</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>the list would be sent to its set point</source>
        <translation>la lista verrebbe portata al suo setpoint</translation>
    </message>
    <message>
        <location filename="../src/app/TryRun.cpp" line="+97"/>
        <source>program</source>
        <translation>programma</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>comment</source>
        <translation>commento</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>field</source>
        <translation>campo</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>size %1 x %2 x %3</source>
        <translation>misure %1 x %2 x %3</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>extra</source>
        <translation>extra</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>segments in: %1</source>
        <translation>segmenti letti: %1</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>, but </source>
        <translation>, ma </translation>
    </message>
    <message>
        <location line="+6"/>
        <source>taken</source>
        <translation>accettata</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>taken: sent once, field %1</source>
        <translation>accettata: inviata una volta, campo %1</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>taken: sent %1 (normal and mirrored), fields %2</source>
        <translation>accettata: inviata %1 (normale e speculare), campi %2</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>twice</source>
        <translation>due volte</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>%1 times</source>
        <translation>%1 volte</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>waiting for the next label</source>
        <translation>in attesa della prossima etichetta</translation>
    </message>
    <message>
        <location line="+2"/>
        <location filename="../src/app/TryWindow.cpp" line="+24"/>
        <location line="+130"/>
        <source>refused: </source>
        <translation>rifiutata: </translation>
    </message>
    <message>
        <location line="+2"/>
        <location filename="../src/app/TryWindow.cpp" line="-129"/>
        <source>failed: </source>
        <translation>fallita: </translation>
    </message>
    <message>
        <location line="+21"/>
        <source>status line: </source>
        <translation>riga di stato: </translation>
    </message>
    <message>
        <location line="+3"/>
        <source>message box: </source>
        <translation>messaggio: </translation>
    </message>
    <message>
        <location line="+3"/>
        <source>the scanner would hear &quot;%1&quot;</source>
        <translation>il lettore riceverebbe &quot;%1&quot;</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>Settings</source>
        <translation>Impostazioni</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>read from </source>
        <translation>letto da </translation>
    </message>
    <message>
        <location line="+6"/>
        <source>tried as a freshly started station: nothing scanned before</source>
        <translation>come una stazione appena avviata: nulla letto prima</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>row %1 in work field %2 (number %3)</source>
        <translation>riga %1 nel campo di lavoro %2 (numero %3)</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>  field chosen from the table: </source>
        <translation>  campo scelto dalla tabella: </translation>
    </message>
    <message>
        <location line="+4"/>
        <source>  field as the labels or the default field give it</source>
        <translation>  campo come lo danno le etichette o il campo predefinito</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>  the eighteen fields:</source>
        <translation>  i diciotto campi:</translation>
    </message>
    <message>
        <location line="+14"/>
        <location filename="../src/app/TryWindow.cpp" line="+1"/>
        <source>held by a message box until it is answered, then </source>
        <translation>fermata da un messaggio finché non ha risposta, poi </translation>
    </message>
    <message>
        <location line="+12"/>
        <location filename="../src/app/TryWindow.cpp" line="+127"/>
        <source>Label &quot;%1&quot;</source>
        <translation>Etichetta &quot;%1&quot;</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>item so far: </source>
        <translation>pezzo finora: </translation>
    </message>
    <message>
        <location line="+2"/>
        <source>not written: </source>
        <translation>non scritto: </translation>
    </message>
    <message>
        <location line="+2"/>
        <source>nothing to handle</source>
        <translation>niente da fare</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>The last item is not complete: nothing of it was sent.</source>
        <translation>L&apos;ultimo pezzo non è completo: non ne è stato inviato nulla.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>The item was sent; the segments taken in before it (%1) still count for the next labels.</source>
        <translation>Il pezzo è stato inviato; i segmenti letti prima (%1) contano ancora per le prossime etichette.</translation>
    </message>
    <message>
        <location filename="../src/app/TryWindow.cpp" line="+2"/>
        <source>it cannot be read: %1</source>
        <translation>non si può leggere: %1</translation>
    </message>
</context>
<context>
    <name>barlink::app::GlancePanel</name>
    <message>
        <source>(%1 rows)</source>
        <translation>(%1 righe)</translation>
    </message>
    <message>
        <source>Enter or a double click shows a scan in the journal</source>
        <translation>Invio o doppio clic mostra una lettura nel registro</translation>
    </message>
    <message>
        <source>Recent scans</source>
        <translation>Ultime letture</translation>
    </message>
    <message>
        <source>Where the last item went on the machine table</source>
        <translation>Dove è andato l&apos;ultimo pezzo sul piano macchina</translation>
    </message>
    <message>
        <source>Where the piece goes</source>
        <translation>Dove va il pezzo</translation>
    </message>
    <message>
        <source>No item yet</source>
        <translation>Ancora nessun pezzo</translation>
    </message>
    <message>
        <source>The last pieces sent to the list in this shift, newest first</source>
        <translation>Gli ultimi pezzi inviati alla lista in questo turno, dal più recente</translation>
    </message>
    <message>
        <source>This shift, since %1</source>
        <translation>Questo turno, dalle %1</translation>
    </message>
    <message numerus="yes">
        <source>✔ %n taken</source>
        <translation>
            <numerusform>✔ %n accettato</numerusform>
            <numerusform>✔ %n accettati</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>✖ %n refused</source>
        <translation>
            <numerusform>✖ %n rifiutata</numerusform>
            <numerusform>✖ %n rifiutate</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>✖ %n failed</source>
        <translation>
            <numerusform>✖ %n fallita</numerusform>
            <numerusform>✖ %n fallite</numerusform>
        </translation>
    </message>
    <message>
        <source>No piece sent yet in this shift.</source>
        <translation>Nessun pezzo inviato in questo turno.</translation>
    </message>
</context>
<context>
    <name>barlink::app::GuideWindow</name>
    <message>
        <location filename="../src/app/GuideWindow.cpp" line="+15"/>
        <source>Barlink Guide</source>
        <translation>Guida di Barlink</translation>
    </message>
    <message>
        <location line="+20"/>
        <source>The guide is missing from this build.</source>
        <translation>La guida manca in questa versione.</translation>
    </message>
</context>
<context>
    <name>barlink::app::MainWindow</name>
    <message>
        <source>Take &amp;back %1…</source>
        <translation>&amp;Annulla %1…</translation>
    </message>
    <message>
        <source>Take &amp;back last item…</source>
        <translation>&amp;Annulla ultimo pezzo…</translation>
    </message>
    <message>
        <location filename="../src/app/MainWindow.cpp" line="+222"/>
        <source>No item to take back.</source>
        <translation>Nessun pezzo da annullare.</translation>
    </message>
    <message>
        <location line="+27"/>
        <source>Text &amp;size</source>
        <translation>&amp;Dimensione testo</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>%1%</source>
        <translation>%1%</translation>
    </message>
    <message>
        <location line="+23"/>
        <source>&amp;Larger</source>
        <translation>Più &amp;grande</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>S&amp;maller</source>
        <translation>Più &amp;piccolo</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>&amp;Normal</source>
        <translation>&amp;Normale</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>&amp;Full screen</source>
        <translation>Schermo &amp;intero</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>&amp;High contrast</source>
        <translation>&amp;Alto contrasto</translation>
    </message>
    <message>
        <source>&amp;Touch</source>
        <translation>Uso al &amp;tocco</translation>
    </message>
</context>
<context>
    <name>barlink::app::ManualEntryPanel</name>
    <message>
        <source>Delete the character before the cursor</source>
        <translation>Cancella il carattere prima del cursore</translation>
    </message>
    <message>
        <source>Space</source>
        <translation>Spazio</translation>
    </message>
    <message>
        <source>Manual entry</source>
        <translation>Inserimento a mano</translation>
    </message>
    <message>
        <source>Edit</source>
        <translation>Modifica</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Press Edit to type a label</source>
        <translation>Modifica →</translation>
    </message>
</context>
<context>
    <name>barlink::app::OptionsPanel</name>
    <message>
        <source>Options</source>
        <translation>Opzioni</translation>
    </message>
    <message>
        <source>Automatic Clear on Scan</source>
        <translation>Svuota lista alla lettura</translation>
    </message>
    <message>
        <source>Overwrite Existing Programs With Program From 2D Barcode</source>
        <translation>Sovrascrivi programmi esistenti con quello del codice 2D</translation>
    </message>
    <message>
        <source>Show Program in Editor</source>
        <translation>Mostra programma nell&apos;editor</translation>
    </message>
    <message>
        <source>  Machine Auto Start</source>
        <translation>  Avvio automatico macchina</translation>
    </message>
</context>
<context>
    <name>barlink::app::PortControl</name>
    <message>
        <location filename="../src/app/PortControl.cpp" line="+52"/>
        <source>Scanner port %1 closed: %2. Waiting for the scanner to come back...</source>
        <translation>Porta scanner %1 chiusa: %2. In attesa che lo scanner torni...</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Scanner port %1 not open: %2. Waiting for the scanner...</source>
        <translation>Porta scanner %1 non aperta: %2. In attesa dello scanner...</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Scanner port closed: %1. Choose the port with Options, Settings.</source>
        <translation>Porta scanner chiusa: %1. Scegliere la porta in Opzioni, Impostazioni.</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Scanner port %1 open. Ready.</source>
        <translation>Porta scanner %1 aperta. Pronto.</translation>
    </message>
    <message>
        <location line="+41"/>
        <source>The scanner is not connected on %1.

Plug it in: Barlink takes it back by itself, there is nothing else to do.

Open the port settings to choose another port?</source>
        <translation>Lo scanner non è collegato a %1.

Collegarlo: Barlink lo riprende da solo, non serve altro.

Aprire le impostazioni per scegliere un&apos;altra porta?</translation>
    </message>
</context>
<context>
    <name>barlink::app::PortPanel</name>
    <message>
        <source>Scanner port:</source>
        <translation>Porta scanner:</translation>
    </message>
    <message>
        <source>State of the scanner port</source>
        <translation>Stato della porta scanner</translation>
    </message>
    <message>
        <source>List:</source>
        <translation>Lista:</translation>
    </message>
    <message>
        <source>The list manager&apos;s list: its state and its number of rows</source>
        <translation>La lista della gestione lista: stato e numero di righe</translation>
    </message>
    <message>
        <source>Journal:</source>
        <translation>Registro:</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>I have seen that journal entries were lost</source>
        <translation>Ho visto che delle voci del registro sono andate perse</translation>
    </message>
    <message>
        <source>Shop:</source>
        <translation>Reparto:</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Aperta</translation>
    </message>
    <message>
        <source>Waiting for the scanner</source>
        <translation>In attesa dello scanner</translation>
    </message>
    <message>
        <source>Closed</source>
        <translation>Chiusa</translation>
    </message>
    <message>
        <source>not open</source>
        <translation>non aperta</translation>
    </message>
    <message>
        <source>The list manager has not answered yet.</source>
        <translation>Il gestore della lista non ha ancora risposto.</translation>
    </message>
    <message>
        <source>list manager not running</source>
        <translation>gestore della lista non in esecuzione</translation>
    </message>
    <message>
        <source>No list manager holds the bus name %1: rows cannot be added. The next label starts it again.</source>
        <translation>Nessun gestore della lista detiene il nome di bus %1: le righe non possono essere aggiunte. La prossima etichetta lo riavvia.</translation>
    </message>
    <message>
        <source>list manager not answering</source>
        <translation>il gestore della lista non risponde</translation>
    </message>
    <message>
        <source>The list manager %1 does not answer: rows cannot be added.</source>
        <translation>Il gestore della lista %1 non risponde: le righe non possono essere aggiunte.</translation>
    </message>
    <message>
        <source>no session bus</source>
        <translation>nessun bus di sessione</translation>
    </message>
    <message>
        <source>Barlink reaches the list manager on the session bus, and there is none: rows cannot be added. Start Barlink in a desktop session, or under dbus-run-session.</source>
        <translation>Barlink raggiunge il gestore della lista sul bus di sessione, e non ce n&apos;è nessuno: le righe non possono essere aggiunte. Avviare Barlink in una sessione desktop, o con dbus-run-session.</translation>
    </message>
    <message>
        <source>1 row</source>
        <translation>1 riga</translation>
    </message>
    <message>
        <source>%1 rows</source>
        <translation>%1 righe</translation>
    </message>
    <message>
        <source>taking in the spill file · %1 %</source>
        <translation>ripresa del file di riserva · %1 %</translation>
    </message>
    <message>
        <source>The entries kept in the spill file go into the journal file, a few at a time between the scans. Every scan meanwhile is on the disk, in the spill file.</source>
        <translation>Le voci del file di riserva vanno nel registro, poche alla volta tra una lettura e l&apos;altra. Ogni lettura intanto è sul disco, nel file di riserva.</translation>
    </message>
    <message>
        <source>written</source>
        <translation>scritto</translation>
    </message>
    <message>
        <source>Every scan is on the disk before the scanner hears ACK.</source>
        <translation>Ogni lettura è sul disco prima che lo scanner riceva ACK.</translation>
    </message>
    <message>
        <source>file not written since %1 · %2 kept in the spill file</source>
        <translation>file non scritto dalle %1 · %2 nel file di riserva</translation>
    </message>
    <message>
        <source>The journal file cannot be written (%1). Every scan is still on the disk, in the spill file, and goes into the journal file once it can be written.</source>
        <translation>Il file del registro non si può scrivere (%1). Ogni lettura è comunque sul disco, nel file di riserva, e va nel registro appena si può scrivere.</translation>
    </message>
    <message>
        <source>NOT WRITTEN · %1 held in memory since %2</source>
        <translation>NON SCRITTO · %1 in memoria dalle %2</translation>
    </message>
    <message>
        <source>Neither the journal file nor the spill file can be written (%1). Scans are held in memory and are lost if Barlink ends before a file can be written.</source>
        <translation>Né il registro né il file di riserva si possono scrivere (%1). Le letture sono solo in memoria e vanno perse se Barlink si chiude prima.</translation>
    </message>
    <message>
        <source>spill file unreadable</source>
        <translation>file di riserva illeggibile</translation>
    </message>
    <message>
        <source>Entries wait in a spill file that cannot be read (%1). They go into the journal file once it can be read.</source>
        <translation>Delle voci attendono in un file di riserva che non si può leggere (%1). Vanno nel registro appena si può leggere.</translation>
    </message>
    <message>
        <source>cannot be tidied</source>
        <translation>non si può riordinare</translation>
    </message>
    <message>
        <source>Another program is reading the journal file, so that its write-ahead log (%1 MB) cannot be emptied; it is emptied once that program stops reading.</source>
        <translation>Un altro programma sta leggendo il registro, quindi il suo log write-ahead (%1 MB) non si può svuotare; verrà svuotato appena quel programma smette di leggere.</translation>
    </message>
    <message>
        <source>1 entry lost</source>
        <translation>1 voce persa</translation>
    </message>
    <message>
        <source>%1 entries lost</source>
        <translation>%1 voci perse</translation>
    </message>
    <message>
        <source>Journal entries could not be read back or kept; the journal&apos;s &quot;entries-lost&quot; entry says which. Click OK once you have seen it.</source>
        <translation>Delle voci del registro non si sono potute rileggere o conservare; la voce &quot;entries-lost&quot; del registro dice quali. Fare clic su OK dopo averlo visto.</translation>
    </message>
    <message>
        <source>up to date</source>
        <translation>aggiornato</translation>
    </message>
    <message>
        <source>The shop&apos;s server has every entry of this station.</source>
        <translation>Il server di reparto ha ogni voce di questa postazione.</translation>
    </message>
    <message>
        <source>1 entry waiting</source>
        <translation>1 voce in attesa</translation>
    </message>
    <message>
        <source>%1 entries waiting</source>
        <translation>%1 voci in attesa</translation>
    </message>
    <message>
        <source> since %1</source>
        <translation> dalle %1</translation>
    </message>
    <message>
        <source>On their way to the shop&apos;s server.</source>
        <translation>In viaggio verso il server di reparto.</translation>
    </message>
</context>
<context>
    <name>barlink::app::RecentScansModel</name>
    <message>
        <location filename="../src/app/RecentScansModel.cpp" line="+97"/>
        <source>Time</source>
        <translation>Ora</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Label</source>
        <translation>Etichetta</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Outcome</source>
        <translation>Esito</translation>
    </message>
</context>
<context>
    <name>barlink::app::ResultPanel</name>
    <message>
        <source>Taken: %1, %2</source>
        <translation>Accettata: %1, %2</translation>
    </message>
    <message>
        <source>Take back last item</source>
        <translation>Annulla ultimo pezzo</translation>
    </message>
    <message>
        <source>Touch the result, or press Enter on it, once you have seen a refusal</source>
        <translation>Toccare il risultato, o premere Invio su di esso, dopo aver visto un rifiuto</translation>
    </message>
    <message>
        <source>Take back %1</source>
        <translation>Annulla %1</translation>
    </message>
    <message>
        <source>1 row</source>
        <translation>1 riga</translation>
    </message>
    <message>
        <source>%1 rows</source>
        <translation>%1 righe</translation>
    </message>
    <message>
        <source>The list now: %1 · %2</source>
        <translation>La lista ora: %1 · %2</translation>
    </message>
    <message>
        <source>The list now: not open</source>
        <translation>La lista ora: non aperta</translation>
    </message>
    <message>
        <source>Last label: %1  —  %2</source>
        <translation>Ultima etichetta: %1  —  %2</translation>
    </message>
    <message>
        <source>NO SCANNER</source>
        <translation>NESSUNO SCANNER</translation>
    </message>
    <message>
        <source>Since %1</source>
        <translation>Dalle %1</translation>
    </message>
    <message>
        <source>Since %1: %2 is not there</source>
        <translation>Dalle %1: %2 non c&apos;è</translation>
    </message>
    <message>
        <source>Last result: %1</source>
        <translation>Ultimo risultato: %1</translation>
    </message>
    <message>
        <source>Labels scanned now are not read. Plug the scanner in (check its cable): Barlink takes it back by itself within a few seconds.</source>
        <translation>Le etichette lette ora vanno perse. Collegare lo scanner (controllare il cavo): Barlink lo riprende da solo in pochi secondi.</translation>
    </message>
</context>
<context>
    <name>barlink::app::ScanPanel</name>
    <message>
        <source>Segment received: %1</source>
        <translation>Segmento ricevuto: %1</translation>
    </message>
    <message>
        <source>Load List</source>
        <translation>Carica lista</translation>
    </message>
    <message>
        <source>Program</source>
        <translation>Programma</translation>
    </message>
    <message>
        <source>Dimensions</source>
        <translation>Misure</translation>
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
        <translation>Scelta automatica del campo</translation>
    </message>
    <message>
        <source>Exclusion insertion</source>
        <translation>Inserimento esclusione</translation>
    </message>
    <message>
        <source> Last Scan:    </source>
        <translation> Ultima lettura:    </translation>
    </message>
    <message>
        <source>Receiving from the scanner</source>
        <translation>Ricezione dallo scanner</translation>
    </message>
</context>
<context>
    <name>barlink::app::SettingsDialog</name>
    <message>
        <location filename="../src/app/SettingsDialog.cpp" line="+156"/>
        <source>No port is chosen yet.</source>
        <translation>Nessuna porta ancora scelta.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Port %1 has no option here: OK without a choice stores no port.</source>
        <translation>La porta %1 non è tra le scelte: OK senza scelta non salva nessuna porta.</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>No line settings are stored yet: the usual ones are shown.</source>
        <translation>Nessuna impostazione di linea salvata: si mostrano quelle usuali.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Current line settings: %1. A value without an option here is kept unless you choose another.</source>
        <translation>Impostazioni di linea attuali: %1. Un valore non tra le scelte resta finché non se ne sceglie un altro.</translation>
    </message>
    <message>
        <location line="+20"/>
        <source>No serial devices found</source>
        <translation>Nessun dispositivo seriale trovato</translation>
    </message>
    <message>
        <location line="+40"/>
        <source>Choose a device from the list or type its path.</source>
        <translation>Scegliere un dispositivo dalla lista o digitarne il percorso.</translation>
    </message>
    <message>
        <location line="+20"/>
        <source>The port could not be opened: %1.
Choose other settings and OK, or Cancel to keep these.</source>
        <translation>La porta non si è aperta: %1.
Scegliere altre impostazioni e OK, o Annulla per tenere queste.</translation>
    </message>
</context>
<context>
    <name>barlink::app::Station</name>
    <message>
        <source>Settings problems in KTQ.INI: %1, listed in their window and in the journal. Ready.</source>
        <translation>Problemi delle impostazioni in KTQ.INI: %1, elencati nella loro finestra e nel registro. Pronto.</translation>
    </message>
    <message>
        <location filename="../src/app/Station.cpp" line="+393"/>
        <source>A label is being handled: nothing was taken back.</source>
        <translation>Un&apos;etichetta è in lavorazione: niente annullato.</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>The list changed while the question was open: nothing was taken back.</source>
        <translation>La lista è cambiata durante la domanda: niente annullato.</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>The rows could not all be taken out of the list (%1): look at the list.</source>
        <translation>Non tutte le righe sono state tolte dalla lista (%1): controllare la lista.</translation>
    </message>
</context>
<context>
    <name>barlink::app::StationShell</name>
    <message>
        <location filename="../src/app/StationShell.cpp" line="+186"/>
        <source>Some values in %1 are not used as written. Barlink goes on with what each line says; scanning is not held back.</source>
        <translation>Alcuni valori in %1 non sono usati come scritti. Barlink continua con ciò che dice ogni riga; la lettura non si ferma.</translation>
    </message>
    <message>
        <location line="+70"/>
        <source>The list manager&apos;s window stays where it is: %1</source>
        <translation>La finestra del gestore delle liste resta dov&apos;è: %1</translation>
    </message>
</context>
<context>
    <name>barlink::app::TryWindow</name>
    <message>
        <location filename="../src/app/TryWindow.cpp" line="-65"/>
        <source>Try a label</source>
        <translation>Prova un&apos;etichetta</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Labels as the scanner sends them, one per line (escapes: \r \n \xHH \\). Trying adds no row, writes no file and sends nothing to the scanner.</source>
        <translation>Etichette come le invia il lettore, una per riga (escape: \r \n \xHH \\). La prova non aggiunge righe, non scrive file e non invia nulla al lettore.</translation>
    </message>
    <message>
        <location line="+14"/>
        <source>&amp;Try</source>
        <translation>&amp;Prova</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Try the labels (Ctrl+Enter)</source>
        <translation>Provare le etichette (Ctrl+Invio)</translation>
    </message>
    <message>
        <location line="+52"/>
        <source>Type a label to try.</source>
        <translation>Digitare un&apos;etichetta da provare.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>In short</source>
        <translation>In breve</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>No row would reach the list manager</source>
        <translation>Nessuna riga arriverebbe alla gestione lista</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Rows as the list manager would receive them</source>
        <translation>Righe come le riceverebbe la gestione lista</translation>
    </message>
</context>
<context>
    <name>barlink::embeddedlist::ListManagerWindow</name>
    <message>
        <location filename="../src/embeddedlist/ListManagerWindow.cpp" line="+32"/>
        <source>List Manager</source>
        <translation>Gestione lista</translation>
    </message>
    <message>
        <location line="+24"/>
        <source>The list is hidden.</source>
        <translation>La lista è nascosta.</translation>
    </message>
    <message>
        <location line="+60"/>
        <source>List</source>
        <translation>Lista</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>New List</source>
        <translation>Nuova lista</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Open List...</source>
        <translation>Apri lista...</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Save List As...</source>
        <translation>Salva lista come...</translation>
    </message>
    <message>
        <location line="+49"/>
        <source>Setpoints: %1</source>
        <translation>Setpoint: %1</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Rows: %1</source>
        <translation>Righe: %1</translation>
    </message>
    <message>
        <location line="+37"/>
        <source>Start a new list? The %1 rows of the current list are removed.</source>
        <translation>Iniziare una nuova lista? Le %1 righe della lista attuale vengono tolte.</translation>
    </message>
    <message>
        <location line="+16"/>
        <source>Open List</source>
        <translation>Apri lista</translation>
    </message>
    <message>
        <location line="+0"/>
        <location line="+13"/>
        <source>Lists (*.lst *.LST);;All files (*)</source>
        <translation>Liste (*.lst *.LST);;Tutti i file (*)</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Save List As</source>
        <translation>Salva lista come</translation>
    </message>
</context>
<context>
    <name>barlink::fieldsel::FieldSelectionDialog</name>
    <message>
        <location filename="../src/fieldsel/FieldSelectionDialog.cpp" line="+133"/>
        <source>From Left</source>
        <translation>Da sinistra</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>From Right</source>
        <translation>Da destra</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Count the position from the left</source>
        <translation>Contare la posizione da sinistra</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Count the position from the right</source>
        <translation>Contare la posizione da destra</translation>
    </message>
</context>
<context>
    <name>barlink::fieldsel::TablePlanWidget</name>
    <message>
        <location filename="../src/fieldsel/TablePlanWidget.cpp" line="+362"/>
        <source>Back</source>
        <translation>Dietro</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Front</source>
        <translation>Davanti</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>not to scale: the half limits are not set</source>
        <translation>non in scala: i limiti di metà non sono impostati</translation>
    </message>
    <message>
        <location line="-164"/>
        <location line="+195"/>
        <source>%1 mirror</source>
        <translation>%1 specchiato</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>%1: size unknown</source>
        <translation>%1: misura sconosciuta</translation>
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
        <translation>Registro</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Search label, reason, field, program</source>
        <translation>Cerca etichetta, motivo, campo, programma</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>All</source>
        <translation>Tutti</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Refused only</source>
        <translation>Solo rifiutate</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Taken only</source>
        <translation>Solo accettate</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Failed only</source>
        <translation>Solo fallite</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>From</source>
        <translation>Da</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>To</source>
        <translation>A</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Export...</source>
        <translation>Esporta...</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>This station</source>
        <translation>Questa postazione</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Shop-wide</source>
        <translation>Tutto il reparto</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>All stations</source>
        <translation>Tutte le postazioni</translation>
    </message>
    <message>
        <location line="+14"/>
        <source>nothing found</source>
        <translation>nessun risultato</translation>
    </message>
    <message>
        <location line="+54"/>
        <source>The journal cannot be read: </source>
        <translation>Il registro non si può leggere: </translation>
    </message>
    <message>
        <location line="+138"/>
        <source>Export the entries shown</source>
        <translation>Esporta le voci mostrate</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>CSV (*.csv)</source>
        <translation>CSV (*.csv)</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>Not exported to %1: it is a file of the scan journal, which an export never writes over.</source>
        <translation>Non esportato in %1: è un file del registro delle scansioni, che un&apos;esportazione non sovrascrive mai.</translation>
    </message>
    <message>
        <location line="+19"/>
        <source>Not exported to %1: %2</source>
        <translation>Non esportato in %1: %2</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>1 entry written to %1</source>
        <translation>1 voce scritta in %1</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>%1 entries written to %2</source>
        <translation>%1 voci scritte in %2</translation>
    </message>
</context>
<context>
    <name>barlink::scanner::ScanPoller</name>
    <message>
        <source>Scanner input too long: %1 characters without a pause were discarded.</source>
        <translation>Ingresso dello scanner troppo lungo: %1 caratteri senza pausa sono stati scartati.</translation>
    </message>
    <message>
        <location filename="../src/scanner/ScanPoller.cpp" line="+23"/>
        <source> Last Scan:    </source>
        <translation> Ultima lettura:    </translation>
    </message>
    <message>
        <location line="+57"/>
        <source>Labels are arriving without the LabelEnd suffix %1: each waits for two quiet poll intervals. Set the scanner to end every label with it, or clear LabelEnd in KTQ.INI.</source>
        <translation>Le etichette arrivano senza il terminatore LabelEnd %1: ognuna attende due intervalli di lettura quieti. Impostare lo scanner perché chiuda ogni etichetta così, o svuotare LabelEnd in KTQ.INI.</translation>
    </message>
</context>
<context>
    <name>barlink::testconsole::TestConsoleWindow</name>
    <message>
        <location filename="../src/testconsole/TestConsoleWindow.cpp" line="+135"/>
        <source>List files (*.lst *.LST)</source>
        <translation>File lista (*.lst *.LST)</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>All files (*)</source>
        <translation>Tutti i file (*)</translation>
    </message>
</context>
<context>
    <name>barlink::fieldsel::AutoSelSettings</name>
    <message>
        <source>%1 From Left</source>
        <translation>%1 da sinistra</translation>
    </message>
    <message>
        <source>%1 From Right</source>
        <translation>%1 da destra</translation>
    </message>
</context>
<context>
    <name>DoubleScanGuard</name>
    <message>
        <source>Scanned twice: not added again. Scan again to add it.</source>
        <translation>Letta due volte: non aggiunta di nuovo. Leggerla ancora per aggiungerla.</translation>
    </message>
</context>
<context>
    <name>barlink::journal::JournalRecorder</name>
    <message>
        <source>Scan journal not written: %1</source>
        <translation>Registro delle letture non scritto: %1</translation>
    </message>
    <message>
        <source>Scan journal written again.</source>
        <translation>Registro delle letture di nuovo scritto.</translation>
    </message>
    <message>
        <source>Scan journal damaged (%1): moved aside as %2, a new one was started.</source>
        <translation>Registro delle letture danneggiato (%1): spostato come %2, ne è stato iniziato uno nuovo.</translation>
    </message>
    <message>
        <source>Shop journal not reached: %1</source>
        <translation>Registro di reparto non raggiunto: %1</translation>
    </message>
</context>
</TS>
