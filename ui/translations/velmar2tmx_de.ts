<?xml version='1.0' encoding='utf-8'?>
<TS version="2.1" language="de_DE" sourcelanguage="en">
  <context>
    <name>CAboutDlg</name>
    <message>
      <source>About VELMAR® 2 TMX</source>
      <translation>Über VELMAR® 2 TMX</translation>
    </message>
    <message>
      <source>How to use VELMAR® 2 TMX:</source>
      <translation>So verwenden Sie VELMAR® 2 TMX:</translation>
    </message>
    <message>
      <source>OK</source>
      <translation>OK</translation>
    </message>
    <message>
      <source>Version %1</source>
      <translation>Version %1</translation>
    </message>
    <message>
      <source>2. Select the top [...] button and browse to your VELMAR® TXT file. The TMX file name and               location will be automatically generated with the same name and location</source>
      <translation>2. Klicken Sie auf die obere Schaltfläche [...] und wählen Sie Ihre VELMAR®-TXT-Datei. Name und Ort der TMX-Datei werden automatisch mit demselben Namen und Ort erzeugt</translation>
    </message>
    <message>
      <source>To find out more visit:</source>
      <translation>Mehr erfahren Sie unter:</translation>
    </message>
    <message>
      <source>or</source>
      <translation>oder</translation>
    </message>
    <message>
      <source>Converts VELMAR® translation memories to TMX 1.4 format</source>
      <translation>Wandelt VELMAR®-Translation-Memorys in das Format TMX 1.4 um</translation>
    </message>
    <message>
      <source>1. Export your VELMAR® translation memory to a VELMAR® TXT file</source>
      <translation>1. Exportieren Sie Ihr VELMAR®-Translation-Memory in eine VELMAR®-TXT-Datei</translation>
    </message>
    <message>
      <source>3. Click the Protect button to create the TMX file</source>
      <translation>3. Klicken Sie auf „Schützen“, um die TMX-Datei zu erstellen</translation>
    </message>
    <message>
      <source>4. Your translation memory is now secure</source>
      <translation>4. Ihr Translation Memory ist jetzt sicher</translation>
    </message>
  </context>
  <context>
    <name>CHyperLink</name>
    <message>
      <source>The link cannot be opened: %1 is not a valid address.</source>
      <translation>Der Link kann nicht geöffnet werden: %1 ist keine gültige Adresse.</translation>
    </message>
    <message>
      <source>The link cannot be opened: no web browser or other program on this computer opened %1.</source>
      <translation>Der Link kann nicht geöffnet werden: Kein Webbrowser und kein anderes Programm auf diesem Computer hat %1 geöffnet.</translation>
    </message>
  </context>
  <context>
    <name>CLanguageDlg</name>
    <message>
      <source>Select source and target languages</source>
      <translation>Ausgangs- und Zielsprache wählen</translation>
    </message>
    <message>
      <source>Available languages</source>
      <translation>Verfügbare Sprachen</translation>
    </message>
    <message>
      <source>Source language</source>
      <translation>Ausgangssprache</translation>
    </message>
    <message>
      <source>Target language</source>
      <translation>Zielsprache</translation>
    </message>
    <message>
      <source>The languages found in the TXT file</source>
      <translation>Die in der TXT-Datei gefundenen Sprachen</translation>
    </message>
    <message>
      <source>The source language of the TMX file</source>
      <translation>Die Ausgangssprache der TMX-Datei</translation>
    </message>
    <message>
      <source>The target language of the TMX file</source>
      <translation>Die Zielsprache der TMX-Datei</translation>
    </message>
    <message>
      <source>Set the source language</source>
      <translation>Ausgangssprache setzen</translation>
    </message>
    <message>
      <source>Puts the selected language into the source language field</source>
      <translation>Übernimmt die ausgewählte Sprache in das Feld Ausgangssprache</translation>
    </message>
    <message>
      <source>Set the target language</source>
      <translation>Zielsprache setzen</translation>
    </message>
    <message>
      <source>Puts the selected language into the target language field</source>
      <translation>Übernimmt die ausgewählte Sprache in das Feld Zielsprache</translation>
    </message>
  </context>
  <context>
    <name>CMainDlg</name>
    <message>
      <source>Opens the page %1 in the web browser</source>
      <translation>Öffnet die Seite %1 im Webbrowser</translation>
    </message>
    <message>
      <source>&amp;Close</source>
      <translation>&amp;Schließen</translation>
    </message>
    <message>
      <source>Protect your VELMAR® translation memories in certified TMX </source>
      <translation>Schützen Sie Ihre VELMAR®-Translation-Memorys in zertifiziertem TMX </translation>
    </message>
    <message>
      <source>Translation memory tools "Compliant with TMX level 2" are not supporting the TMX standard and are not independently certified</source>
      <translation>Translation-Memory-Programme „konform mit TMX Level 2“ unterstützen den TMX-Standard nicht und sind nicht unabhängig zertifiziert</translation>
    </message>
    <message>
      <source>Safeguard your future and insist on:</source>
      <translation>Sichern Sie Ihre Zukunft und bestehen Sie auf:</translation>
    </message>
    <message>
      <source>TMX Certification</source>
      <translation>TMX-Zertifizierung</translation>
    </message>
    <message>
      <source>VELMAR® is a trademark of its owner. This converter is an independent tool and writes the open TMX 1.4 format of the translation memory.</source>
      <translation>VELMAR® ist eine Marke ihres Inhabers. Dieser Konverter ist ein unabhängiges Werkzeug und schreibt das Translation Memory im offenen Format TMX 1.4.</translation>
    </message>
    <message>
      <source>&amp;Files</source>
      <translation>&amp;Dateien</translation>
    </message>
    <message>
      <source>V&amp;ELMAR® file</source>
      <translation>V&amp;ELMAR®-Datei</translation>
    </message>
    <message>
      <source>T&amp;MX file</source>
      <translation>T&amp;MX-Datei</translation>
    </message>
    <message>
      <source>&amp;Languages</source>
      <translation>S&amp;prachen</translation>
    </message>
    <message>
      <source>&amp;Source</source>
      <translation>&amp;Ausgang</translation>
    </message>
    <message>
      <source>&amp;Target</source>
      <translation>&amp;Ziel</translation>
    </message>
    <message>
      <source>&amp;About...</source>
      <translation>Ü&amp;ber...</translation>
    </message>
    <message>
      <source>A&amp;nalyse</source>
      <translation>A&amp;nalysieren</translation>
    </message>
    <message>
      <source>&amp;Protect</source>
      <translation>&amp;Schützen</translation>
    </message>
    <message>
      <source>E&amp;xit</source>
      <translation>&amp;Beenden</translation>
    </message>
    <message>
      <source>Cancel</source>
      <translation>Abbrechen</translation>
    </message>
    <message>
      <source>VELMAR® file</source>
      <translation>VELMAR®-Datei</translation>
    </message>
    <message>
      <source>Choose the TXT file</source>
      <translation>TXT-Datei wählen</translation>
    </message>
    <message>
      <source>TMX file</source>
      <translation>TMX-Datei</translation>
    </message>
    <message>
      <source>Choose the TMX file</source>
      <translation>TMX-Datei wählen</translation>
    </message>
    <message>
      <source>Source language</source>
      <translation>Ausgangssprache</translation>
    </message>
    <message>
      <source>Target language</source>
      <translation>Zielsprache</translation>
    </message>
    <message>
      <source>About</source>
      <translation>Über</translation>
    </message>
    <message>
      <source>Analyse</source>
      <translation>Analysieren</translation>
    </message>
    <message>
      <source>Protect</source>
      <translation>Schützen</translation>
    </message>
    <message>
      <source>Cancel the conversion</source>
      <translation>Umwandlung abbrechen</translation>
    </message>
    <message>
      <source>Exit</source>
      <translation>Beenden</translation>
    </message>
    <message>
      <source>Stops the conversion; nothing is written and an existing TMX file stays as it was</source>
      <translation>Bricht die Umwandlung ab; es wird nichts geschrieben und eine vorhandene TMX-Datei bleibt unverändert</translation>
    </message>
    <message>
      <source>Status</source>
      <translation>Status</translation>
    </message>
    <message>
      <source>What the tool is doing, and its progress</source>
      <translation>Was das Programm gerade tut, und sein Fortschritt</translation>
    </message>
    <message>
      <source>Progress</source>
      <translation>Fortschritt</translation>
    </message>
    <message>
      <source>%1% - %2</source>
      <translation>%1 % – %2</translation>
    </message>
    <message>
      <source>The TMX file %1 already exists.
Do you want to replace it?</source>
      <translation>Die TMX-Datei %1 ist bereits vorhanden.
Möchten Sie sie ersetzen?</translation>
    </message>
    <message>
      <source>The existing file %1 was left as it was.</source>
      <translation>Die vorhandene Datei %1 blieb unverändert.</translation>
    </message>
    <message>
      <source>Do you want to save a report of the skipped units and the changes as %1?</source>
      <translation>Möchten Sie einen Bericht über die übersprungenen Einheiten und die Änderungen als %1 speichern?</translation>
    </message>
    <message>
      <source>The existing file of that name will be replaced.</source>
      <translation>Die vorhandene Datei dieses Namens wird ersetzt.</translation>
    </message>
    <message>
      <source>The report could not be written to %1:
%2</source>
      <translation>Der Bericht konnte nicht nach %1 geschrieben werden:
%2</translation>
    </message>
    <message>
      <source>&amp;Recent files</source>
      <translation>&amp;Zuletzt verwendete Dateien</translation>
    </message>
    <message>
      <source>File</source>
      <translation>Datei</translation>
    </message>
    <message>
      <source>Units written</source>
      <translation>Geschriebene Einheiten</translation>
    </message>
    <message>
      <source>Skipped</source>
      <translation>Übersprungen</translation>
    </message>
    <message>
      <source>Report</source>
      <translation>Bericht</translation>
    </message>
    <message>
      <source>Results</source>
      <translation>Ergebnisse</translation>
    </message>
    <message>
      <source>One row for each file converted together</source>
      <translation>Eine Zeile für jede gemeinsam umgewandelte Datei</translation>
    </message>
    <message>
      <source>Open &amp;folder</source>
      <translation>&amp;Ordner öffnen</translation>
    </message>
    <message>
      <source>Shows the folder of the TMX files</source>
      <translation>Zeigt den Ordner der TMX-Dateien</translation>
    </message>
    <message>
      <source>%1 of the TMX files exist already. Do you want to replace them?</source>
      <translation>%1 der TMX-Dateien sind bereits vorhanden. Möchten Sie sie ersetzen?</translation>
    </message>
    <message>
      <source>kept</source>
      <translation>beibehalten</translation>
    </message>
    <message>
      <source>failed</source>
      <translation>fehlgeschlagen</translation>
    </message>
  </context>
  <context>
    <name>ExportSummary</name>
    <message>
      <source>no source segment</source>
      <translation>kein Ausgangssegment</translation>
    </message>
    <message>
      <source>no target segment</source>
      <translation>kein Zielsegment</translation>
    </message>
    <message>
      <source>unknown language code</source>
      <translation>unbekannter Sprachcode</translation>
    </message>
    <message>
      <source>1 unit skipped (%1)</source>
      <translation>1 Einheit übersprungen (%1)</translation>
    </message>
    <message>
      <source>%1 units skipped (%2)</source>
      <translation>%1 Einheiten übersprungen (%2)</translation>
    </message>
  </context>
  <context>
    <name>RunMessages</name>
    <message>
      <source>unknown cause</source>
      <translation>unbekannte Ursache</translation>
    </message>
    <message>
      <source>it is a folder</source>
      <translation>es ist ein Ordner</translation>
    </message>
    <message>
      <source>The TXT file %1 cannot be read: %2.</source>
      <translation>Die TXT-Datei %1 kann nicht gelesen werden: %2.</translation>
    </message>
    <message>
      <source>The TMX file %1 cannot be written: %2.</source>
      <translation>Die TMX-Datei %1 kann nicht geschrieben werden: %2.</translation>
    </message>
    <message>
      <source>The TMX file %1 is the TXT file itself. Choose another name for the TMX file.</source>
      <translation>Die TMX-Datei %1 ist die TXT-Datei selbst. Wählen Sie einen anderen Namen für die TMX-Datei.</translation>
    </message>
    <message>
      <source>The TXT file %1 cannot be converted: out of memory.</source>
      <translation>Die TXT-Datei %1 kann nicht umgewandelt werden: nicht genug Arbeitsspeicher.</translation>
    </message>
    <message>
      <source>The TMX file %1 exists already.</source>
      <translation>Die TMX-Datei %1 ist bereits vorhanden.</translation>
    </message>
    <message>
      <source>No language was found in %1: it is not a Velmar Vovuzaduz TXT export.</source>
      <translation>In %1 wurde keine Sprache gefunden: Es ist kein Velmar-Vovuzaduz-TXT-Export.</translation>
    </message>
    <message>
      <source>Finished exporting.
Number of translation units written to TMX: %1
Your translation memory is now secure.</source>
      <translation>Export abgeschlossen.
Anzahl der in die TMX geschriebenen Übersetzungseinheiten: %1
Ihr Translation Memory ist jetzt sicher.</translation>
    </message>
    <message>
      <source>Are you sure you want to exit?</source>
      <translation>Möchten Sie das Programm wirklich beenden?</translation>
    </message>
    <message>
      <source>Stop the conversion and exit?</source>
      <translation>Umwandlung abbrechen und beenden?</translation>
    </message>
    <message>
      <source>Conversion cancelled. The existing file %1 was left as it was.</source>
      <translation>Umwandlung abgebrochen. Die vorhandene Datei %1 blieb unverändert.</translation>
    </message>
    <message>
      <source>Conversion cancelled. Nothing was written.</source>
      <translation>Umwandlung abgebrochen. Es wurde nichts geschrieben.</translation>
    </message>
    <message>
      <source>No translation units were exported to the TMX file. Please check the source and target languages. Use the "Analyse" button to retrieve the languages from the Velmar TXT file.</source>
      <translation>Es wurden keine Übersetzungseinheiten in die TMX-Datei exportiert. Bitte prüfen Sie die Ausgangs- und Zielsprache. Mit der Schaltfläche „Analysieren“ lesen Sie die Sprachen aus der Velmar-TXT-Datei.</translation>
    </message>
  </context>
  <context>
    <name>StringTable</name>
    <message>
      <source>Exit the application</source>
      <translation>Das Programm beenden</translation>
    </message>
    <message>
      <source>&amp;About VELMAR® 2 TMX...</source>
      <translation>Ü&amp;ber VELMAR® 2 TMX...</translation>
    </message>
    <message>
      <source>Idle</source>
      <translation>Bereit</translation>
    </message>
    <message>
      <source>Path to a VELMAR® Vovuzaduz text format file</source>
      <translation>Pfad zu einer VELMAR®-Vovuzaduz-Textdatei</translation>
    </message>
    <message>
      <source>Browse for a VELMAR® Vovuzaduz file</source>
      <translation>Eine VELMAR®-Vovuzaduz-Datei suchen</translation>
    </message>
    <message>
      <source>Path to a TMX file to create</source>
      <translation>Pfad der zu erstellenden TMX-Datei</translation>
    </message>
    <message>
      <source>Specify the TMX file to create</source>
      <translation>Die zu erstellende TMX-Datei angeben</translation>
    </message>
    <message>
      <source>Export the VELMAR® Vovuzaduz file to TMX format</source>
      <translation>Die VELMAR®-Vovuzaduz-Datei in das TMX-Format exportieren</translation>
    </message>
    <message>
      <source>About VELMAR® 2 TMX...</source>
      <translation>Über VELMAR® 2 TMX...</translation>
    </message>
    <message>
      <source>Source language of the TMX file</source>
      <translation>Ausgangssprache der TMX-Datei</translation>
    </message>
    <message>
      <source>Target language of the TMX file</source>
      <translation>Zielsprache der TMX-Datei</translation>
    </message>
    <message>
      <source>Source encoding of the TMX file</source>
      <translation>Ausgangskodierung der TMX-Datei</translation>
    </message>
    <message>
      <source>Target encoding of the TMX file</source>
      <translation>Zielkodierung der TMX-Datei</translation>
    </message>
    <message>
      <source>Analyse the VELMAR® Vovuzaduz file for source and target languages</source>
      <translation>Die VELMAR®-Vovuzaduz-Datei auf Ausgangs- und Zielsprachen analysieren</translation>
    </message>
    <message>
      <source>Are you sure you want to exit?</source>
      <translation>Möchten Sie das Programm wirklich beenden?</translation>
    </message>
    <message>
      <source>Please specify a VELMAR® Vovuzaduz text file</source>
      <translation>Bitte geben Sie eine VELMAR®-Vovuzaduz-Textdatei an</translation>
    </message>
    <message>
      <source>Please specify a TMX file to create</source>
      <translation>Bitte geben Sie die zu erstellende TMX-Datei an</translation>
    </message>
    <message>
      <source>VELMAR® export files|*.txt|All files|*.*||</source>
      <translation>VELMAR®-Exportdateien|*.txt|Alle Dateien|*.*||</translation>
    </message>
    <message>
      <source>TMX files|*.tmx|All files|*.*||</source>
      <translation>TMX-Dateien|*.tmx|Alle Dateien|*.*||</translation>
    </message>
    <message>
      <source>Exporting...</source>
      <translation>Exportieren...</translation>
    </message>
  </context>
</TS>