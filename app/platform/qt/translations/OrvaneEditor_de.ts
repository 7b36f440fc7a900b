<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>KTQtAboutWindow</name>
    <message>
        <source>About OrvaneEditor</source>
        <translation>Über OrvaneEditor</translation>
    </message>
    <message>
        <source>&lt;b&gt;OrvaneEditor&lt;/b&gt;</source>
        <translation>&lt;b&gt;OrvaneEditor&lt;/b&gt;</translation>
    </message>
    <message>
        <source>Version</source>
        <translation>Version</translation>
    </message>
    <message>
        <source>Editor and librarian for the Tavel Orvane sample-playback instrument.</source>
        <translation>Editor und Klangverwaltung für das Sample-Wiedergabeinstrument Tavel Orvane.</translation>
    </message>
</context>
<context>
    <name>KTQtApplicationPlatform</name>
    <message>
        <source>All files</source>
        <translation>Alle Dateien</translation>
    </message>
    <message>
        <source>“%1” already exists.</source>
        <translation>„%1“ ist bereits vorhanden.</translation>
    </message>
    <message>
        <source>Do you want to replace it?</source>
        <translation>Möchten Sie die Datei ersetzen?</translation>
    </message>
    <message>
        <source>Replace</source>
        <translation>Ersetzen</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>KTQtBankOverview</name>
    <message>
        <source>Overview of the banks</source>
        <translation>Übersicht der Banks</translation>
    </message>
</context>
<context>
    <name>KTQtBankOverviewRow</name>
    <message>
        <source>%1 s</source>
        <translation>%1 s</translation>
    </message>
    <message>
        <source>silent</source>
        <translation>still</translation>
    </message>
    <message>
        <source>Bank %1: %2, %3</source>
        <translation>Bank %1: %2, %3</translation>
    </message>
    <message>
        <source>%1, unsaved</source>
        <translation>%1, ungesichert</translation>
    </message>
</context>
<context>
    <name>KTQtEditorWindows</name>
    <message>
        <source>Transfer &amp;Speed</source>
        <translation>Übertragungs&amp;geschwindigkeit</translation>
    </message>
    <message>
        <source>&amp;Line Rate</source>
        <translation>&amp;Volle Leitungsrate</translation>
    </message>
    <message>
        <source>&amp;%1%</source>
        <translation>&amp;%1 %</translation>
    </message>
    <message>
        <source>Send slower than the MIDI line for interfaces that lose bytes at its full rate</source>
        <translation>Sendet langsamer, als die MIDI-Leitung erlaubt, für Schnittstellen, die bei voller Rate Bytes verlieren</translation>
    </message>
    <message>
        <source>No Recent Disks</source>
        <translation>Keine zuletzt geöffneten Disks</translation>
    </message>
    <message>
        <source>&amp;Undo %1</source>
        <translation>&amp;Rückgängig: %1</translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation>&amp;Rückgängig</translation>
    </message>
    <message>
        <source>&amp;Redo %1</source>
        <translation>&amp;Wiederholen: %1</translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation>&amp;Wiederholen</translation>
    </message>
</context>
<context>
    <name>KTQtImportRegionDialog</name>
    <message>
        <source>mono</source>
        <translation>Mono</translation>
    </message>
    <message>
        <source>stereo</source>
        <translation>Stereo</translation>
    </message>
    <message>
        <source>%1 channels</source>
        <translation>%1 Kanäle</translation>
    </message>
    <message>
        <source>Not an AIFF or WAV file: its bytes are taken as 16-bit samples at 44,100 Hz (%1 s).</source>
        <translation>Keine AIFF- oder WAV-Datei: Die Bytes werden als 16-Bit-Samples mit 44.100 Hz gelesen (%1 s).</translation>
    </message>
    <message>
        <source>%1 s, %2 Hz, %3.</source>
        <translation>%1 s, %2 Hz, %3.</translation>
    </message>
    <message>
        <source>Import Region from %1</source>
        <translation>Bereich aus %1 importieren</translation>
    </message>
    <message>
        <source>Reading the file…</source>
        <translation>Die Datei wird gelesen…</translation>
    </message>
    <message>
        <source>Reading the file: %p%</source>
        <translation>Die Datei wird gelesen: %p %</translation>
    </message>
    <message>
        <source>Reading the file</source>
        <translation>Die Datei wird gelesen</translation>
    </message>
    <message>
        <source> s</source>
        <translation> s</translation>
    </message>
    <message>
        <source>Start in the file, in seconds</source>
        <translation>Start in der Datei, in Sekunden</translation>
    </message>
    <message>
        <source>Mix</source>
        <translation>Mischung</translation>
    </message>
    <message>
        <source>Left</source>
        <translation>Links</translation>
    </message>
    <message>
        <source>Right</source>
        <translation>Rechts</translation>
    </message>
    <message>
        <source>Channel</source>
        <translation>Kanal</translation>
    </message>
    <message>
        <source>&amp;Trim Leading Silence</source>
        <translation>Stille am &amp;Anfang entfernen</translation>
    </message>
    <message>
        <source>&amp;Normalize</source>
        <translation>&amp;Normalisieren</translation>
    </message>
    <message>
        <source>&amp;Play</source>
        <translation>Abs&amp;pielen</translation>
    </message>
    <message>
        <source>Plays the chosen part, or stops it</source>
        <translation>Spielt den gewählten Teil ab oder stoppt ihn</translation>
    </message>
    <message>
        <source>&amp;Import</source>
        <translation>&amp;Importieren</translation>
    </message>
    <message>
        <source>&amp;Start:</source>
        <translation>&amp;Start:</translation>
    </message>
    <message>
        <source>C&amp;hannel:</source>
        <translation>&amp;Kanal:</translation>
    </message>
    <message>
        <source>This file cannot be imported: %1.</source>
        <translation>Diese Datei kann nicht importiert werden: %1.</translation>
    </message>
    <message>
        <source>The file %1.</source>
        <translation>Die Datei %1.</translation>
    </message>
    <message>
        <source>Sto&amp;p</source>
        <translation>Sto&amp;pp</translation>
    </message>
</context>
<context>
    <name>KTQtLevelMeter</name>
    <message>
        <source>Input level</source>
        <translation>Eingangspegel</translation>
    </message>
    <message>
        <source>%1 dBFS</source>
        <translation>%1 dBFS</translation>
    </message>
    <message>
        <source>silent</source>
        <translation>still</translation>
    </message>
    <message>
        <source>CLIP</source>
        <translation>ÜBERSTEUERT</translation>
    </message>
</context>
<context>
    <name>KTQtMainWindow</name>
    <message>
        <source>OrvaneEditor</source>
        <translation>OrvaneEditor</translation>
    </message>
    <message>
        <source>Banks in the editor</source>
        <translation>Banks im Editor</translation>
    </message>
    <message>
        <source>Banks</source>
        <translation>Banks</translation>
    </message>
    <message>
        <source>The seven banks of the instrument's sample memory. Select the bank to rename, reset, import into, save or send.</source>
        <translation>Die sieben Banks des Sample-Speichers des Instruments. Wählen Sie die Bank aus, die Sie umbenennen, zurücksetzen, mit einem Import füllen, speichern oder senden möchten.</translation>
    </message>
    <message>
        <source>Each bank at a glance: unsaved changes (dot), its sound, its length and its first sample's name. Click a bank to select it.</source>
        <translation>Jede Bank auf einen Blick: ungesicherte Änderungen (Punkt), ihr Klang, ihre Länge und der Name ihres ersten Samples. Klicken Sie auf eine Bank, um sie auszuwählen.</translation>
    </message>
    <message>
        <source>Ban&amp;k name:</source>
        <translation>Bank&amp;name:</translation>
    </message>
    <message>
        <source>Name of the selected bank. Press Enter to apply.</source>
        <translation>Name der ausgewählten Bank. Drücken Sie die Eingabetaste, um ihn zu übernehmen.</translation>
    </message>
    <message>
        <source>Sam&amp;ple name:</source>
        <translation>Sam&amp;plename:</translation>
    </message>
    <message>
        <source>Name of the sample in the selected bank. Press Enter to apply.</source>
        <translation>Name des Samples in der ausgewählten Bank. Drücken Sie die Eingabetaste, um ihn zu übernehmen.</translation>
    </message>
    <message>
        <source>Import an AIFF or WAV file into the selected bank (Ctrl+I)</source>
        <translation>Importiert eine AIFF- oder WAV-Datei in die ausgewählte Bank (Strg+I)</translation>
    </message>
    <message>
        <source>&amp;Import Sample…</source>
        <translation>Sample &amp;importieren…</translation>
    </message>
    <message>
        <source>Restore the selected bank's factory sound and names</source>
        <translation>Stellt den Werksklang und die Werksnamen der ausgewählten Bank wieder her</translation>
    </message>
    <message>
        <source>&amp;Reset Bank</source>
        <translation>Bank &amp;zurücksetzen</translation>
    </message>
    <message>
        <source>Save and send</source>
        <translation>Speichern und senden</translation>
    </message>
    <message>
        <source>Se&amp;lected bank</source>
        <translation>A&amp;usgewählte Bank</translation>
    </message>
    <message>
        <source>&amp;All banks</source>
        <translation>&amp;Alle Banks</translation>
    </message>
    <message>
        <source>Disk file</source>
        <translation>Disk-Datei</translation>
    </message>
    <message>
        <source>Load banks from a disk file (Ctrl+O)</source>
        <translation>Lädt Banks aus einer Disk-Datei (Strg+O)</translation>
    </message>
    <message>
        <source>&amp;Open Disk…</source>
        <translation>Disk ö&amp;ffnen…</translation>
    </message>
    <message>
        <source>Save the selected bank or all banks to a disk file you name (Ctrl+Shift+S)</source>
        <translation>Speichert die ausgewählte Bank oder alle Banks in einer Disk-Datei, deren Namen Sie festlegen (Strg+Umschalt+S)</translation>
    </message>
    <message>
        <source>&amp;Save Disk…</source>
        <translation>Disk &amp;speichern…</translation>
    </message>
    <message>
        <source>Send to the instrument</source>
        <translation>An das Instrument senden</translation>
    </message>
    <message>
        <source>MIDI por&amp;t:</source>
        <translation>MIDI-Ans&amp;chluss:</translation>
    </message>
    <message>
        <source>MIDI port</source>
        <translation>MIDI-Anschluss</translation>
    </message>
    <message>
        <source>The MIDI output the instrument is connected to</source>
        <translation>Der MIDI-Ausgang, an den das Instrument angeschlossen ist</translation>
    </message>
    <message>
        <source>Look for MIDI outputs again</source>
        <translation>Sucht erneut nach MIDI-Ausgängen</translation>
    </message>
    <message>
        <source>Resca&amp;n</source>
        <translation>&amp;Erneut suchen</translation>
    </message>
    <message>
        <source>MIDI &amp;channel:</source>
        <translation>MIDI-Kana&amp;l:</translation>
    </message>
    <message>
        <source>MIDI channel</source>
        <translation>MIDI-Kanal</translation>
    </message>
    <message>
        <source>The MIDI channel the instrument listens on</source>
        <translation>Der MIDI-Kanal, auf dem das Instrument empfängt</translation>
    </message>
    <message>
        <source>1</source>
        <translation>1</translation>
    </message>
    <message>
        <source>2</source>
        <translation>2</translation>
    </message>
    <message>
        <source>3</source>
        <translation>3</translation>
    </message>
    <message>
        <source>4</source>
        <translation>4</translation>
    </message>
    <message>
        <source>5</source>
        <translation>5</translation>
    </message>
    <message>
        <source>6</source>
        <translation>6</translation>
    </message>
    <message>
        <source>7</source>
        <translation>7</translation>
    </message>
    <message>
        <source>8</source>
        <translation>8</translation>
    </message>
    <message>
        <source>9</source>
        <translation>9</translation>
    </message>
    <message>
        <source>10</source>
        <translation>10</translation>
    </message>
    <message>
        <source>11</source>
        <translation>11</translation>
    </message>
    <message>
        <source>12</source>
        <translation>12</translation>
    </message>
    <message>
        <source>13</source>
        <translation>13</translation>
    </message>
    <message>
        <source>14</source>
        <translation>14</translation>
    </message>
    <message>
        <source>15</source>
        <translation>15</translation>
    </message>
    <message>
        <source>16</source>
        <translation>16</translation>
    </message>
    <message>
        <source>Send the selected bank or all banks to the instrument (Ctrl+T)</source>
        <translation>Sendet die ausgewählte Bank oder alle Banks an das Instrument (Strg+T)</translation>
    </message>
    <message>
        <source>Sen&amp;d to Instrument</source>
        <translation>An das Ins&amp;trument senden</translation>
    </message>
    <message>
        <source>The selected bank's sound; the shaded part is silence</source>
        <translation>Der Klang der ausgewählten Bank; der schattierte Teil ist Stille</translation>
    </message>
    <message>
        <source>Play</source>
        <translation>Abspielen</translation>
    </message>
    <message>
        <source>Version</source>
        <translation>Version</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>Open &amp;Recent</source>
        <translation>&amp;Zuletzt geöffnet</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>&amp;Bearbeiten</translation>
    </message>
    <message>
        <source>&amp;Bank</source>
        <translation>Ban&amp;k</translation>
    </message>
    <message>
        <source>&amp;Process</source>
        <translation>&amp;Verarbeiten</translation>
    </message>
    <message>
        <source>&amp;MIDI</source>
        <translation>&amp;MIDI</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>Ctrl+O</source>
        <translation>Ctrl+O</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>&amp;Speichern</translation>
    </message>
    <message>
        <source>Ctrl+S</source>
        <translation>Ctrl+S</translation>
    </message>
    <message>
        <source>Save Disk &amp;As…</source>
        <translation>Disk speichern &amp;unter…</translation>
    </message>
    <message>
        <source>Ctrl+Shift+S</source>
        <translation>Ctrl+Shift+S</translation>
    </message>
    <message>
        <source>&amp;Export Bank as WAV…</source>
        <translation>Bank als WAV &amp;exportieren…</translation>
    </message>
    <message>
        <source>Cu&amp;t</source>
        <translation>&amp;Ausschneiden</translation>
    </message>
    <message>
        <source>Ctrl+X</source>
        <translation>Ctrl+X</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>&amp;Kopieren</translation>
    </message>
    <message>
        <source>Ctrl+C</source>
        <translation>Ctrl+C</translation>
    </message>
    <message>
        <source>&amp;Paste</source>
        <translation>&amp;Einfügen</translation>
    </message>
    <message>
        <source>Ctrl+V</source>
        <translation>Ctrl+V</translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation>&amp;Löschen</translation>
    </message>
    <message>
        <source>Del</source>
        <translation>Del</translation>
    </message>
    <message>
        <source>Select &amp;All</source>
        <translation>Alles a&amp;uswählen</translation>
    </message>
    <message>
        <source>Ctrl+A</source>
        <translation>Ctrl+A</translation>
    </message>
    <message>
        <source>Copy &amp;Bank</source>
        <translation>&amp;Bank kopieren</translation>
    </message>
    <message>
        <source>Ctrl+Shift+C</source>
        <translation>Ctrl+Shift+C</translation>
    </message>
    <message>
        <source>Paste Ban&amp;k</source>
        <translation>Bank ein&amp;fügen</translation>
    </message>
    <message>
        <source>Ctrl+Shift+V</source>
        <translation>Ctrl+Shift+V</translation>
    </message>
    <message>
        <source>&amp;Zoom In</source>
        <translation>&amp;Vergrößern</translation>
    </message>
    <message>
        <source>Ctrl++</source>
        <translation>Ctrl++</translation>
    </message>
    <message>
        <source>Zoom &amp;Out</source>
        <translation>Verkle&amp;inern</translation>
    </message>
    <message>
        <source>Ctrl+-</source>
        <translation>Ctrl+-</translation>
    </message>
    <message>
        <source>Zoom to &amp;Whole Bank</source>
        <translation>Ganze Bank &amp;zeigen</translation>
    </message>
    <message>
        <source>Ctrl+0</source>
        <translation>Ctrl+0</translation>
    </message>
    <message>
        <source>&amp;Crop</source>
        <translation>&amp;Zuschneiden</translation>
    </message>
    <message>
        <source>Ctrl+K</source>
        <translation>Ctrl+K</translation>
    </message>
    <message>
        <source>&amp;Silence</source>
        <translation>&amp;Stille</translation>
    </message>
    <message>
        <source>Ctrl+L</source>
        <translation>Ctrl+L</translation>
    </message>
    <message>
        <source>&amp;Gain…</source>
        <translation>&amp;Verstärkung…</translation>
    </message>
    <message>
        <source>Ctrl+G</source>
        <translation>Ctrl+G</translation>
    </message>
    <message>
        <source>&amp;Normalize…</source>
        <translation>&amp;Normalisieren…</translation>
    </message>
    <message>
        <source>Ctrl+Shift+N</source>
        <translation>Ctrl+Shift+N</translation>
    </message>
    <message>
        <source>Fade &amp;In</source>
        <translation>&amp;Einblenden</translation>
    </message>
    <message>
        <source>Fade &amp;Out</source>
        <translation>&amp;Ausblenden</translation>
    </message>
    <message>
        <source>&amp;Reverse</source>
        <translation>&amp;Umkehren</translation>
    </message>
    <message>
        <source>Ctrl+Shift+R</source>
        <translation>Ctrl+Shift+R</translation>
    </message>
    <message>
        <source>Remove &amp;DC Offset</source>
        <translation>&amp;Gleichanteil entfernen</translation>
    </message>
    <message>
        <source>&amp;Trim Silence</source>
        <translation>S&amp;tille am Anfang entfernen</translation>
    </message>
    <message>
        <source>Ctrl+Shift+T</source>
        <translation>Ctrl+Shift+T</translation>
    </message>
    <message>
        <source>Import Re&amp;gion…</source>
        <translation>&amp;Bereich importieren…</translation>
    </message>
    <message>
        <source>Ctrl+Shift+I</source>
        <translation>Ctrl+Shift+I</translation>
    </message>
    <message>
        <source>S&amp;nap to Zero Crossings</source>
        <translation>An &amp;Nulldurchgängen ausrichten</translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation>&amp;Rückgängig</translation>
    </message>
    <message>
        <source>Ctrl+Z</source>
        <translation>Ctrl+Z</translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation>&amp;Wiederholen</translation>
    </message>
    <message>
        <source>Ctrl+Shift+Z</source>
        <translation>Ctrl+Shift+Z</translation>
    </message>
    <message>
        <source>&amp;Quit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>Ctrl+Q</source>
        <translation>Ctrl+Q</translation>
    </message>
    <message>
        <source>Ctrl+I</source>
        <translation>Ctrl+I</translation>
    </message>
    <message>
        <source>Re&amp;cord…</source>
        <translation>&amp;Aufnehmen…</translation>
    </message>
    <message>
        <source>Ctrl+R</source>
        <translation>Ctrl+R</translation>
    </message>
    <message>
        <source>&amp;High-Quality Resampling</source>
        <translation>&amp;Hochwertige Abtastratenwandlung</translation>
    </message>
    <message>
        <source>Imports files at other rates than 44,100 Hz through a band-limited filter instead of linear interpolation</source>
        <translation>Importiert Dateien mit anderen Abtastraten als 44.100 Hz über ein bandbegrenztes Filter statt mit linearer Interpolation</translation>
    </message>
    <message>
        <source>&amp;Send to Instrument</source>
        <translation>An das Instrument &amp;senden</translation>
    </message>
    <message>
        <source>Ctrl+T</source>
        <translation>Ctrl+T</translation>
    </message>
    <message>
        <source>&amp;Rescan MIDI Ports</source>
        <translation>MIDI-Anschlüsse &amp;neu suchen</translation>
    </message>
    <message>
        <source>&amp;About OrvaneEditor</source>
        <translation>&amp;Über OrvaneEditor</translation>
    </message>
    <message>
        <source>F1</source>
        <translation>F1</translation>
    </message>
</context>
<context>
    <name>KTQtProgressSheet</name>
    <message>
        <source>Sending to the Instrument</source>
        <translation>Senden an das Instrument</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
</context>
<context>
    <name>KTQtRecordSheet</name>
    <message>
        <source>Start at a &amp;level of</source>
        <translation>Starten ab einem &amp;Pegel von</translation>
    </message>
    <message>
        <source>&amp;Record</source>
        <translation>&amp;Aufnehmen</translation>
    </message>
    <message>
        <source>&amp;Stop</source>
        <translation>&amp;Stopp</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Record</source>
        <translation>Aufnehmen</translation>
    </message>
    <message>
        <source> dBFS</source>
        <translation> dBFS</translation>
    </message>
    <message>
        <source>Threshold</source>
        <translation>Schwelle</translation>
    </message>
    <message>
        <source>Recording starts when the input first reaches this level, keeping 10 ms before it</source>
        <translation>Die Aufnahme beginnt, sobald der Eingang zum ersten Mal diesen Pegel erreicht, und behält die 10 ms davor</translation>
    </message>
    <message>
        <source>Input:</source>
        <translation>Eingang:</translation>
    </message>
    <message>
        <source>Level:</source>
        <translation>Pegel:</translation>
    </message>
</context>
<context>
    <name>KTQtRegionOverview</name>
    <message>
        <source>Whole file, with the part to import</source>
        <translation>Ganze Datei mit dem zu importierenden Teil</translation>
    </message>
    <message>
        <source>From %1 s to %2 s of %3 s</source>
        <translation>Von %1 s bis %2 s von %3 s</translation>
    </message>
</context>
<context>
    <name>KTQtTableModel</name>
    <message>
        <source>Bank name</source>
        <translation>Bankname</translation>
    </message>
</context>
<context>
    <name>KTQtWaveformView</name>
    <message>
        <source>Waveform of the selected bank</source>
        <translation>Wellenform der ausgewählten Bank</translation>
    </message>
    <message>
        <source>Waveform position</source>
        <translation>Position in der Wellenform</translation>
    </message>
    <message>
        <source>Silent</source>
        <translation>Still</translation>
    </message>
    <message>
        <source>%1 samples, %2 s</source>
        <translation>%1 Samples, %2 s</translation>
    </message>
    <message>
        <source>Selected %1 to %2: %3 samples, %4 ms</source>
        <translation>Auswahl %1 bis %2: %3 Samples, %4 ms</translation>
    </message>
    <message>
        <source>Cursor at %1 (%2 ms)</source>
        <translation>Cursor bei %1 (%2 ms)</translation>
    </message>
</context>
<context>
    <name>OrvaneEditorController</name>
    <message>
        <source>Selected %1 to %2: %3 samples, %4 ms</source>
        <translation>Auswahl %1 bis %2: %3 Samples, %4 ms</translation>
    </message>
    <message>
        <source>Cursor at %1 (%2 ms)</source>
        <translation>Cursor bei %1 (%2 ms)</translation>
    </message>
    <message>
        <source>Rename Bank</source>
        <translation>Bank umbenennen</translation>
    </message>
    <message>
        <source>Rename Sample</source>
        <translation>Sample umbenennen</translation>
    </message>
    <message>
        <source>Reset Bank</source>
        <translation>Bank zurücksetzen</translation>
    </message>
    <message>
        <source>Reset %1 to its factory sound</source>
        <translation>%1 auf den Werksklang zurückgesetzt</translation>
    </message>
    <message>
        <source>Save Failed</source>
        <translation>Speichern fehlgeschlagen</translation>
    </message>
    <message>
        <source>The disk could not be saved.
%1</source>
        <translation>Die Disk konnte nicht gespeichert werden.
%1</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Saved all banks to %1</source>
        <translation>Alle Banks in %1 gespeichert</translation>
    </message>
    <message>
        <source>Saved %1 to %2</source>
        <translation>%1 in %2 gespeichert</translation>
    </message>
    <message>
        <source>%1 and %2</source>
        <extracomment>Adds the last bank to a list of banks: "Bank 1, Bank 2 and Bank 7".</extracomment>
        <translation>%1 und %2</translation>
    </message>
    <message>
        <source>%1, %2</source>
        <extracomment>Adds a bank to a list of banks that goes on: "Bank 1, Bank 2".</extracomment>
        <translation>%1, %2</translation>
    </message>
    <message>
        <source>%1 has changes that are in no disk.
Save them before going on?</source>
        <translation>%1 hat Änderungen, die auf keiner Disk gespeichert sind.
Möchten Sie sie speichern, bevor Sie fortfahren?</translation>
    </message>
    <message>
        <source>%1 have changes that are in no disk.
Save them before going on?</source>
        <translation>%1 haben Änderungen, die auf keiner Disk gespeichert sind.
Möchten Sie sie speichern, bevor Sie fortfahren?</translation>
    </message>
    <message>
        <source>Unsaved Changes</source>
        <translation>Ungesicherte Änderungen</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Speichern</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Discard</source>
        <translation>Verwerfen</translation>
    </message>
    <message>
        <source>Undid %1: %2</source>
        <extracomment>%1 is the step's name, %2 the banks it changed: "Undid Crop Bank 3: Bank 3".</extracomment>
        <translation>Rückgängig gemacht: %1 (%2)</translation>
    </message>
    <message>
        <source>Redid %1: %2</source>
        <translation>Wiederholt: %1 (%2)</translation>
    </message>
    <message>
        <source>Export %1 as WAV</source>
        <translation>%1 als WAV exportieren</translation>
    </message>
    <message>
        <source>WAV audio</source>
        <translation>WAV-Audio</translation>
    </message>
    <message>
        <source>Export Failed</source>
        <translation>Exportieren fehlgeschlagen</translation>
    </message>
    <message>
        <source>The bank could not be exported.
%1</source>
        <translation>Die Bank konnte nicht exportiert werden.
%1</translation>
    </message>
    <message>
        <source>Exported %1 to %2</source>
        <translation>%1 nach %2 exportiert</translation>
    </message>
    <message>
        <source>%1 %2</source>
        <extracomment>An undo step: the operation's name and the bank it changed, "Fade In Bank 3".</extracomment>
        <translation>%1 in %2</translation>
    </message>
    <message>
        <source>%1 %2, the selection</source>
        <extracomment>The status after an operation: its name, the bank, and where in the bank it worked.</extracomment>
        <translation>%1 in %2, Auswahl</translation>
    </message>
    <message>
        <source>%1 %2, the whole bank</source>
        <translation>%1 in %2, ganze Bank</translation>
    </message>
    <message>
        <source>%1 %2, the selection (%3 samples clipped)</source>
        <translation>%1 in %2, Auswahl (%3 Samples übersteuert)</translation>
    </message>
    <message>
        <source>%1 %2, the whole bank (%3 samples clipped)</source>
        <translation>%1 in %2, ganze Bank (%3 Samples übersteuert)</translation>
    </message>
    <message>
        <source>Crop</source>
        <translation>Zuschneiden</translation>
    </message>
    <message>
        <source>Silence</source>
        <translation>Stille</translation>
    </message>
    <message>
        <source>Gain</source>
        <translation>Verstärkung</translation>
    </message>
    <message>
        <source>Change the level by (dB):</source>
        <translation>Pegel ändern um (dB):</translation>
    </message>
    <message>
        <source>Normalize</source>
        <translation>Normalisieren</translation>
    </message>
    <message>
        <source>Bring the peak to (dBFS):</source>
        <translation>Spitzenpegel bringen auf (dBFS):</translation>
    </message>
    <message>
        <source>Fade In</source>
        <translation>Einblenden</translation>
    </message>
    <message>
        <source>Fade Out</source>
        <translation>Ausblenden</translation>
    </message>
    <message>
        <source>Reverse</source>
        <translation>Umkehren</translation>
    </message>
    <message>
        <source>Remove DC Offset</source>
        <translation>Gleichanteil entfernen</translation>
    </message>
    <message>
        <source>Trim Silence</source>
        <translation>Stille am Anfang entfernen</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Löschen</translation>
    </message>
    <message>
        <source>Copied %1 of %2</source>
        <translation>%1 aus %2 kopiert</translation>
    </message>
    <message>
        <source>Cut</source>
        <translation>Ausschneiden</translation>
    </message>
    <message>
        <source>The clipboard holds no sound to paste</source>
        <translation>Die Zwischenablage enthält keinen Klang zum Einfügen</translation>
    </message>
    <message>
        <source>Paste</source>
        <translation>Einfügen</translation>
    </message>
    <message>
        <source>Pasted %1; %2 that passed the bank's end was cut</source>
        <translation>%1 eingefügt; %2 über das Ende der Bank hinaus wurden abgeschnitten</translation>
    </message>
    <message>
        <source>Copied %1 with its names</source>
        <translation>%1 mit ihren Namen kopiert</translation>
    </message>
    <message>
        <source>Paste Bank %1</source>
        <extracomment>An undo step: a copied bank pasted onto the bank numbered %1.</extracomment>
        <translation>Bank in Bank %1 einfügen</translation>
    </message>
    <message>
        <source>Pasted %1 onto %2</source>
        <translation>%1 in %2 eingefügt</translation>
    </message>
    <message>
        <source>Swap %1 and %2</source>
        <translation>%1 und %2 tauschen</translation>
    </message>
    <message>
        <source>Swapped %1 and %2</source>
        <translation>%1 und %2 getauscht</translation>
    </message>
    <message>
        <source>Import Sample into %1</source>
        <translation>Sample in %1 importieren</translation>
    </message>
    <message>
        <source>Audio files</source>
        <translation>Audiodateien</translation>
    </message>
    <message>
        <source>Import Region into %1</source>
        <translation>Bereich in %1 importieren</translation>
    </message>
    <message>
        <source>Import Region</source>
        <translation>Bereich importieren</translation>
    </message>
    <message>
        <source>Import Sample</source>
        <translation>Sample importieren</translation>
    </message>
    <message>
        <source>Imported %1 into %2 as raw 16-bit little-endian data (%3 of the file's %4)</source>
        <translation>%1 als rohe 16-Bit-Little-Endian-Daten in %2 importiert (%3 der %4 der Datei)</translation>
    </message>
    <message>
        <source>Imported %1 into %2 (%3 of the file's %4)</source>
        <translation>%1 in %2 importiert (%3 der %4 der Datei)</translation>
    </message>
    <message>
        <source>%1; 1 sample clipped</source>
        <extracomment>%1 is the import's report: "Imported a.wav into Bank 3 (1.49 s of the file's 2.00 s)".</extracomment>
        <translation>%1; 1 Sample übersteuert</translation>
    </message>
    <message>
        <source>%1; %2 samples clipped</source>
        <translation>%1; %2 Samples übersteuert</translation>
    </message>
    <message>
        <source>Could not import %1: %2</source>
        <translation>%1 konnte nicht importiert werden: %2</translation>
    </message>
    <message>
        <source>Wrong File Format</source>
        <translation>Falsches Dateiformat</translation>
    </message>
    <message>
        <source>OrvaneEditor supports only pcm (no compression) formats (*.aif or *.wav).</source>
        <translation>OrvaneEditor unterstützt nur PCM-Formate (ohne Kompression) (*.aif oder *.wav).</translation>
    </message>
    <message>
        <source>No Sound Data</source>
        <translation>Keine Klangdaten</translation>
    </message>
    <message>
        <source>The file "%1" holds no sound data.</source>
        <translation>Die Datei "%1" enthält keine Klangdaten.</translation>
    </message>
    <message>
        <source>Untitled</source>
        <translation>Unbenannt</translation>
    </message>
    <message>
        <source>Version %1</source>
        <translation>Version %1</translation>
    </message>
    <message>
        <source>Version %1 (%2)</source>
        <translation>Version %1 (%2)</translation>
    </message>
    <message>
        <source>no output ports detected</source>
        <translation>keine Ausgangsanschlüsse gefunden</translation>
    </message>
    <message>
        <source>no ALSA sequencer (no /dev/snd/seq)</source>
        <translation>kein ALSA-Sequencer (kein /dev/snd/seq)</translation>
    </message>
    <message>
        <source>Send the selected bank or all banks to the instrument (Ctrl+T)</source>
        <translation>Sendet die ausgewählte Bank oder alle Banks an das Instrument (Strg+T)</translation>
    </message>
    <message>
        <source>No MIDI output port found: connect the instrument and press Rescan</source>
        <translation>Kein MIDI-Ausgangsanschluss gefunden: Schließen Sie das Instrument an und klicken Sie auf „Erneut suchen“</translation>
    </message>
    <message>
        <source>The ALSA sequencer cannot be reached (is /dev/snd/seq there? the snd-seq module loaded?): nothing can be sent</source>
        <translation>Der ALSA-Sequencer ist nicht erreichbar (gibt es /dev/snd/seq? ist das Modul snd-seq geladen?): Es kann nichts gesendet werden</translation>
    </message>
    <message>
        <source>MIDI Environment did change!</source>
        <translation>Die MIDI-Umgebung hat sich geändert!</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Stopp</translation>
    </message>
    <message>
        <source>Play</source>
        <translation>Abspielen</translation>
    </message>
    <message>
        <source>Stop playing (Space)</source>
        <translation>Beendet das Abspielen (Leertaste)</translation>
    </message>
    <message>
        <source>Play the selected bank up to its last sound; the silence after it is left out (Space)</source>
        <translation>Spielt die ausgewählte Bank bis zu ihrem letzten Klang ab; die Stille danach wird ausgelassen (Leertaste)</translation>
    </message>
    <message>
        <source>No sound output: none is set up</source>
        <translation>Kein Audioausgang: Es ist keiner eingerichtet</translation>
    </message>
    <message>
        <source>No sound output: ALSA device "%1" could not be opened (%2)</source>
        <translation>Kein Audioausgang: Das ALSA-Gerät "%1" konnte nicht geöffnet werden (%2)</translation>
    </message>
    <message>
        <source>%1 is silent: there is nothing to play</source>
        <translation>%1 ist stumm: Es gibt nichts abzuspielen</translation>
    </message>
    <message>
        <source>Playing %1, the selection (%2)</source>
        <translation>%1 wird abgespielt, die Auswahl (%2)</translation>
    </message>
    <message>
        <source>Playing %1 up to its last sound (%2)</source>
        <translation>%1 wird bis zu ihrem letzten Klang abgespielt (%2)</translation>
    </message>
    <message>
        <source>Playback failed: %1</source>
        <translation>Abspielen fehlgeschlagen: %1</translation>
    </message>
    <message>
        <source>Open Disk</source>
        <translation>Disk öffnen</translation>
    </message>
    <message>
        <source>Disks</source>
        <translation>Disks</translation>
    </message>
    <message>
        <source>Could not open %1: %2</source>
        <translation>%1 konnte nicht geöffnet werden: %2</translation>
    </message>
    <message>
        <source>This file contains no sound bank(s)
for a Tavel Orvane.</source>
        <translation>Diese Datei enthält keine Sound-Bank(s)
für ein Tavel Orvane.</translation>
    </message>
    <message>
        <source>No banks in %1</source>
        <translation>Keine Banks in %1</translation>
    </message>
    <message>
        <source>Damaged Disk</source>
        <translation>Beschädigte Disk</translation>
    </message>
    <message>
        <source>"%1" cannot be loaded: %2
No bank was changed.</source>
        <translation>"%1" kann nicht geladen werden: %2
Es wurde keine Bank geändert.</translation>
    </message>
    <message>
        <source>Did not load %1: the banks are as they were</source>
        <translation>%1 nicht geladen: Die Banks sind unverändert</translation>
    </message>
    <message>
        <source>Load Disk</source>
        <translation>Disk laden</translation>
    </message>
    <message>
        <source>Loaded 1 bank from %1</source>
        <translation>1 Bank aus %1 geladen</translation>
    </message>
    <message>
        <source>Loaded %1 banks from %2</source>
        <translation>%1 Banks aus %2 geladen</translation>
    </message>
    <message>
        <source>The file contains data for bank: "%1".
Do you want to overwrite bank: "%2"?</source>
        <translation>Die Datei enthält Daten für die Bank: "%1".
Möchten Sie die Bank "%2" überschreiben?</translation>
    </message>
    <message>
        <source>Different Banks!</source>
        <translation>Unterschiedliche Banks!</translation>
    </message>
    <message>
        <source>YES</source>
        <translation>JA</translation>
    </message>
    <message>
        <source>NO</source>
        <translation>NEIN</translation>
    </message>
    <message>
        <source>No sound input: ALSA device "%1" could not be opened (%2)</source>
        <translation>Kein Audioeingang: Das ALSA-Gerät "%1" konnte nicht geöffnet werden (%2)</translation>
    </message>
    <message>
        <source>No sound input: none is set up</source>
        <translation>Kein Audioeingang: Es ist keiner eingerichtet</translation>
    </message>
    <message>
        <source>Record from the sound input into the selected bank</source>
        <translation>Nimmt vom Audioeingang in die ausgewählte Bank auf</translation>
    </message>
    <message>
        <source>Press Record to start, or set a threshold to start with the sound</source>
        <translation>Klicken Sie auf Aufnehmen, um zu beginnen, oder legen Sie eine Schwelle fest, um mit dem Klang zu beginnen</translation>
    </message>
    <message>
        <source>Waiting for the sound to reach %1…</source>
        <translation>Warten, bis der Klang %1 erreicht…</translation>
    </message>
    <message>
        <source>Recording…</source>
        <translation>Aufnahme läuft…</translation>
    </message>
    <message>
        <source>Recording: %1 of 1.49 s</source>
        <translation>Aufnahme: %1 von 1.49 s</translation>
    </message>
    <message>
        <source>Recording Failed</source>
        <translation>Aufnahme fehlgeschlagen</translation>
    </message>
    <message>
        <source>The sound input failed: %1</source>
        <translation>Der Audioeingang ist ausgefallen: %1</translation>
    </message>
    <message>
        <source>Record %1</source>
        <translation>Aufnahme in %1</translation>
    </message>
    <message>
        <source>Recorded %1 into %2 (the input ran over: some sound was lost)</source>
        <translation>%1 in %2 aufgenommen (der Eingang ist übergelaufen: Ein Teil des Klangs ging verloren)</translation>
    </message>
    <message>
        <source>Recorded %1 into %2</source>
        <translation>%1 in %2 aufgenommen</translation>
    </message>
    <message>
        <source>Unsaved changes cannot be kept for recovery in %1: %2</source>
        <translation>Ungesicherte Änderungen können nicht für die Wiederherstellung in %1 aufbewahrt werden: %2</translation>
    </message>
    <message>
        <source>Unsaved changes could not be kept for recovery: %1</source>
        <translation>Ungesicherte Änderungen konnten nicht für die Wiederherstellung aufbewahrt werden: %1</translation>
    </message>
    <message>
        <source>OrvaneEditor ended on %1 without saving %2.
Recover them as unsaved changes, or discard them?</source>
        <translation>OrvaneEditor wurde am %1 beendet, ohne %2 zu speichern.
Möchten Sie sie als ungesicherte Änderungen wiederherstellen oder verwerfen?</translation>
    </message>
    <message>
        <source>Recover Unsaved Changes?</source>
        <translation>Ungesicherte Änderungen wiederherstellen?</translation>
    </message>
    <message>
        <source>Recover</source>
        <translation>Wiederherstellen</translation>
    </message>
    <message>
        <source>Recover Unsaved Changes</source>
        <translation>Ungesicherte Änderungen wiederherstellen</translation>
    </message>
    <message>
        <source>Recovered %1 as unsaved changes</source>
        <translation>%1 als ungesicherte Änderungen wiederhergestellt</translation>
    </message>
    <message>
        <source>Save All Banks as Disk</source>
        <translation>Alle Banks als Disk speichern</translation>
    </message>
    <message>
        <source>Save %1 as Disk</source>
        <translation>%1 als Disk speichern</translation>
    </message>
    <message>
        <source>The sending of all banks take over %1 Minutes.
Do you want to really transmit?</source>
        <translation>Das Senden aller Banks dauert über %1 Minuten.
Möchten Sie wirklich übertragen?</translation>
    </message>
    <message>
        <source>Send All Banks</source>
        <translation>Alle Banks senden</translation>
    </message>
    <message>
        <source>Transmit</source>
        <translation>Übertragen</translation>
    </message>
    <message>
        <source>Initializing...</source>
        <translation>Initialisierung...</translation>
    </message>
    <message>
        <source>Sending... Bank %1: "%2"</source>
        <translation>Senden... Bank %1: "%2"</translation>
    </message>
    <message>
        <source>Releasing...</source>
        <translation>Freigabe...</translation>
    </message>
    <message>
        <source>Send Failed</source>
        <translation>Senden fehlgeschlagen</translation>
    </message>
    <message>
        <source>Bank %1: "%2" did not arrive.
The MIDI destination went away or refused the data.</source>
        <translation>Bank %1: "%2" ist nicht angekommen.
Das MIDI-Ziel ist verschwunden oder hat die Daten abgelehnt.</translation>
    </message>
</context>
</TS>
