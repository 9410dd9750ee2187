<?xml version='1.0' encoding='utf-8'?>
<TS version="2.1" language="fr_FR" sourcelanguage="en">
  <context>
    <name>CAboutDlg</name>
    <message>
      <source>About VELMAR® 2 TMX</source>
      <translation>À propos de VELMAR® 2 TMX</translation>
    </message>
    <message>
      <source>How to use VELMAR® 2 TMX:</source>
      <translation>Comment utiliser VELMAR® 2 TMX :</translation>
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
      <translation>2. Cliquez sur le bouton [...] du haut et choisissez votre fichier TXT VELMAR®. Le nom et l'emplacement du fichier TMX sont créés automatiquement avec le même nom et le même emplacement</translation>
    </message>
    <message>
      <source>To find out more visit:</source>
      <translation>Pour en savoir plus :</translation>
    </message>
    <message>
      <source>or</source>
      <translation>ou</translation>
    </message>
    <message>
      <source>Converts VELMAR® translation memories to TMX 1.4 format</source>
      <translation>Convertit les mémoires de traduction VELMAR® au format TMX 1.4</translation>
    </message>
    <message>
      <source>1. Export your VELMAR® translation memory to a VELMAR® TXT file</source>
      <translation>1. Exportez votre mémoire de traduction VELMAR® dans un fichier TXT VELMAR®</translation>
    </message>
    <message>
      <source>3. Click the Protect button to create the TMX file</source>
      <translation>3. Cliquez sur le bouton Protéger pour créer le fichier TMX</translation>
    </message>
    <message>
      <source>4. Your translation memory is now secure</source>
      <translation>4. Votre mémoire de traduction est maintenant en sécurité</translation>
    </message>
  </context>
  <context>
    <name>CHyperLink</name>
    <message>
      <source>The link cannot be opened: %1 is not a valid address.</source>
      <translation>Le lien ne peut pas être ouvert : %1 n'est pas une adresse valide.</translation>
    </message>
    <message>
      <source>The link cannot be opened: no web browser or other program on this computer opened %1.</source>
      <translation>Le lien ne peut pas être ouvert : aucun navigateur ni autre programme de cet ordinateur n'a ouvert %1.</translation>
    </message>
  </context>
  <context>
    <name>CLanguageDlg</name>
    <message>
      <source>Select source and target languages</source>
      <translation>Choisir les langues source et cible</translation>
    </message>
    <message>
      <source>Available languages</source>
      <translation>Langues disponibles</translation>
    </message>
    <message>
      <source>Source language</source>
      <translation>Langue source</translation>
    </message>
    <message>
      <source>Target language</source>
      <translation>Langue cible</translation>
    </message>
    <message>
      <source>The languages found in the TXT file</source>
      <translation>Les langues trouvées dans le fichier TXT</translation>
    </message>
    <message>
      <source>The source language of the TMX file</source>
      <translation>La langue source du fichier TMX</translation>
    </message>
    <message>
      <source>The target language of the TMX file</source>
      <translation>La langue cible du fichier TMX</translation>
    </message>
    <message>
      <source>Set the source language</source>
      <translation>Définir la langue source</translation>
    </message>
    <message>
      <source>Puts the selected language into the source language field</source>
      <translation>Place la langue sélectionnée dans le champ Langue source</translation>
    </message>
    <message>
      <source>Set the target language</source>
      <translation>Définir la langue cible</translation>
    </message>
    <message>
      <source>Puts the selected language into the target language field</source>
      <translation>Place la langue sélectionnée dans le champ Langue cible</translation>
    </message>
  </context>
  <context>
    <name>CMainDlg</name>
    <message>
      <source>Opens the page %1 in the web browser</source>
      <translation>Ouvre la page %1 dans le navigateur</translation>
    </message>
    <message>
      <source>&amp;Close</source>
      <translation>&amp;Fermer</translation>
    </message>
    <message>
      <source>Protect your VELMAR® translation memories in certified TMX </source>
      <translation>Protégez vos mémoires de traduction VELMAR® en TMX certifié </translation>
    </message>
    <message>
      <source>Translation memory tools "Compliant with TMX level 2" are not supporting the TMX standard and are not independently certified</source>
      <translation>Les outils de mémoire de traduction « conformes à TMX niveau 2 » ne prennent pas en charge la norme TMX et ne sont pas certifiés de manière indépendante</translation>
    </message>
    <message>
      <source>Safeguard your future and insist on:</source>
      <translation>Préservez votre avenir et exigez :</translation>
    </message>
    <message>
      <source>TMX Certification</source>
      <translation>Certification TMX</translation>
    </message>
    <message>
      <source>VELMAR® is a trademark of its owner. This converter is an independent tool and writes the open TMX 1.4 format of the translation memory.</source>
      <translation>VELMAR® est une marque de son propriétaire. Ce convertisseur est un outil indépendant qui écrit la mémoire de traduction au format ouvert TMX 1.4.</translation>
    </message>
    <message>
      <source>&amp;Files</source>
      <translation>&amp;Fichiers</translation>
    </message>
    <message>
      <source>V&amp;ELMAR® file</source>
      <translation>Fichier V&amp;ELMAR®</translation>
    </message>
    <message>
      <source>T&amp;MX file</source>
      <translation>Fichier T&amp;MX</translation>
    </message>
    <message>
      <source>&amp;Languages</source>
      <translation>&amp;Langues</translation>
    </message>
    <message>
      <source>&amp;Source</source>
      <translation>&amp;Source</translation>
    </message>
    <message>
      <source>&amp;Target</source>
      <translation>&amp;Cible</translation>
    </message>
    <message>
      <source>&amp;About...</source>
      <translation>À pr&amp;opos...</translation>
    </message>
    <message>
      <source>A&amp;nalyse</source>
      <translation>A&amp;nalyser</translation>
    </message>
    <message>
      <source>&amp;Protect</source>
      <translation>&amp;Protéger</translation>
    </message>
    <message>
      <source>E&amp;xit</source>
      <translation>&amp;Quitter</translation>
    </message>
    <message>
      <source>Cancel</source>
      <translation>Annuler</translation>
    </message>
    <message>
      <source>VELMAR® file</source>
      <translation>Fichier VELMAR®</translation>
    </message>
    <message>
      <source>Choose the TXT file</source>
      <translation>Choisir le fichier TXT</translation>
    </message>
    <message>
      <source>TMX file</source>
      <translation>Fichier TMX</translation>
    </message>
    <message>
      <source>Choose the TMX file</source>
      <translation>Choisir le fichier TMX</translation>
    </message>
    <message>
      <source>Source language</source>
      <translation>Langue source</translation>
    </message>
    <message>
      <source>Target language</source>
      <translation>Langue cible</translation>
    </message>
    <message>
      <source>About</source>
      <translation>À propos</translation>
    </message>
    <message>
      <source>Analyse</source>
      <translation>Analyser</translation>
    </message>
    <message>
      <source>Protect</source>
      <translation>Protéger</translation>
    </message>
    <message>
      <source>Cancel the conversion</source>
      <translation>Annuler la conversion</translation>
    </message>
    <message>
      <source>Exit</source>
      <translation>Quitter</translation>
    </message>
    <message>
      <source>Stops the conversion; nothing is written and an existing TMX file stays as it was</source>
      <translation>Arrête la conversion ; rien n'est écrit et un fichier TMX existant reste tel quel</translation>
    </message>
    <message>
      <source>Status</source>
      <translation>État</translation>
    </message>
    <message>
      <source>What the tool is doing, and its progress</source>
      <translation>Ce que fait l'outil, et sa progression</translation>
    </message>
    <message>
      <source>Progress</source>
      <translation>Progression</translation>
    </message>
    <message>
      <source>%1% - %2</source>
      <translation>%1 % – %2</translation>
    </message>
    <message>
      <source>The TMX file %1 already exists.
Do you want to replace it?</source>
      <translation>Le fichier TMX %1 existe déjà.
Voulez-vous le remplacer ?</translation>
    </message>
    <message>
      <source>The existing file %1 was left as it was.</source>
      <translation>Le fichier existant %1 est resté tel quel.</translation>
    </message>
    <message>
      <source>Do you want to save a report of the skipped units and the changes as %1?</source>
      <translation>Voulez-vous enregistrer un rapport des unités ignorées et des modifications sous %1 ?</translation>
    </message>
    <message>
      <source>The existing file of that name will be replaced.</source>
      <translation>Le fichier existant de ce nom sera remplacé.</translation>
    </message>
    <message>
      <source>The report could not be written to %1:
%2</source>
      <translation>Le rapport n'a pas pu être écrit dans %1 :
%2</translation>
    </message>
    <message>
      <source>&amp;Recent files</source>
      <translation>Fichiers &amp;récents</translation>
    </message>
    <message>
      <source>File</source>
      <translation>Fichier</translation>
    </message>
    <message>
      <source>Units written</source>
      <translation>Unités écrites</translation>
    </message>
    <message>
      <source>Skipped</source>
      <translation>Ignorées</translation>
    </message>
    <message>
      <source>Report</source>
      <translation>Rapport</translation>
    </message>
    <message>
      <source>Results</source>
      <translation>Résultats</translation>
    </message>
    <message>
      <source>One row for each file converted together</source>
      <translation>Une ligne pour chaque fichier converti ensemble</translation>
    </message>
    <message>
      <source>Open &amp;folder</source>
      <translation>Ouvrir le &amp;dossier</translation>
    </message>
    <message>
      <source>Shows the folder of the TMX files</source>
      <translation>Affiche le dossier des fichiers TMX</translation>
    </message>
    <message>
      <source>%1 of the TMX files exist already. Do you want to replace them?</source>
      <translation>%1 des fichiers TMX existent déjà. Voulez-vous les remplacer ?</translation>
    </message>
    <message>
      <source>kept</source>
      <translation>conservé</translation>
    </message>
    <message>
      <source>failed</source>
      <translation>échec</translation>
    </message>
  </context>
  <context>
    <name>ExportSummary</name>
    <message>
      <source>no source segment</source>
      <translation>aucun segment source</translation>
    </message>
    <message>
      <source>no target segment</source>
      <translation>aucun segment cible</translation>
    </message>
    <message>
      <source>unknown language code</source>
      <translation>code de langue inconnu</translation>
    </message>
    <message>
      <source>1 unit skipped (%1)</source>
      <translation>1 unité ignorée (%1)</translation>
    </message>
    <message>
      <source>%1 units skipped (%2)</source>
      <translation>%1 unités ignorées (%2)</translation>
    </message>
  </context>
  <context>
    <name>RunMessages</name>
    <message>
      <source>unknown cause</source>
      <translation>cause inconnue</translation>
    </message>
    <message>
      <source>it is a folder</source>
      <translation>c'est un dossier</translation>
    </message>
    <message>
      <source>The TXT file %1 cannot be read: %2.</source>
      <translation>Le fichier TXT %1 ne peut pas être lu : %2.</translation>
    </message>
    <message>
      <source>The TMX file %1 cannot be written: %2.</source>
      <translation>Le fichier TMX %1 ne peut pas être écrit : %2.</translation>
    </message>
    <message>
      <source>The TMX file %1 is the TXT file itself. Choose another name for the TMX file.</source>
      <translation>Le fichier TMX %1 est le fichier TXT lui-même. Choisissez un autre nom pour le fichier TMX.</translation>
    </message>
    <message>
      <source>The TXT file %1 cannot be converted: out of memory.</source>
      <translation>Le fichier TXT %1 ne peut pas être converti : mémoire insuffisante.</translation>
    </message>
    <message>
      <source>The TMX file %1 exists already.</source>
      <translation>Le fichier TMX %1 existe déjà.</translation>
    </message>
    <message>
      <source>No language was found in %1: it is not a Velmar Vovuzaduz TXT export.</source>
      <translation>Aucune langue n'a été trouvée dans %1 : ce n'est pas un export TXT Velmar Vovuzaduz.</translation>
    </message>
    <message>
      <source>Finished exporting.
Number of translation units written to TMX: %1
Your translation memory is now secure.</source>
      <translation>Exportation terminée.
Nombre d'unités de traduction écrites dans le TMX : %1
Votre mémoire de traduction est maintenant en sécurité.</translation>
    </message>
    <message>
      <source>Are you sure you want to exit?</source>
      <translation>Voulez-vous vraiment quitter ?</translation>
    </message>
    <message>
      <source>Stop the conversion and exit?</source>
      <translation>Arrêter la conversion et quitter ?</translation>
    </message>
    <message>
      <source>Conversion cancelled. The existing file %1 was left as it was.</source>
      <translation>Conversion annulée. Le fichier existant %1 est resté tel quel.</translation>
    </message>
    <message>
      <source>Conversion cancelled. Nothing was written.</source>
      <translation>Conversion annulée. Rien n'a été écrit.</translation>
    </message>
    <message>
      <source>No translation units were exported to the TMX file. Please check the source and target languages. Use the "Analyse" button to retrieve the languages from the Velmar TXT file.</source>
      <translation>Aucune unité de traduction n'a été exportée dans le fichier TMX. Vérifiez les langues source et cible. Le bouton « Analyser » lit les langues du fichier TXT Velmar.</translation>
    </message>
  </context>
  <context>
    <name>StringTable</name>
    <message>
      <source>Exit the application</source>
      <translation>Quitter l'application</translation>
    </message>
    <message>
      <source>&amp;About VELMAR® 2 TMX...</source>
      <translation>À pr&amp;opos de VELMAR® 2 TMX...</translation>
    </message>
    <message>
      <source>Idle</source>
      <translation>Prêt</translation>
    </message>
    <message>
      <source>Path to a VELMAR® Vovuzaduz text format file</source>
      <translation>Chemin d'un fichier texte Vovuzaduz VELMAR®</translation>
    </message>
    <message>
      <source>Browse for a VELMAR® Vovuzaduz file</source>
      <translation>Rechercher un fichier Vovuzaduz VELMAR®</translation>
    </message>
    <message>
      <source>Path to a TMX file to create</source>
      <translation>Chemin du fichier TMX à créer</translation>
    </message>
    <message>
      <source>Specify the TMX file to create</source>
      <translation>Indiquer le fichier TMX à créer</translation>
    </message>
    <message>
      <source>Export the VELMAR® Vovuzaduz file to TMX format</source>
      <translation>Exporter le fichier Vovuzaduz VELMAR® au format TMX</translation>
    </message>
    <message>
      <source>About VELMAR® 2 TMX...</source>
      <translation>À propos de VELMAR® 2 TMX...</translation>
    </message>
    <message>
      <source>Source language of the TMX file</source>
      <translation>Langue source du fichier TMX</translation>
    </message>
    <message>
      <source>Target language of the TMX file</source>
      <translation>Langue cible du fichier TMX</translation>
    </message>
    <message>
      <source>Source encoding of the TMX file</source>
      <translation>Encodage source du fichier TMX</translation>
    </message>
    <message>
      <source>Target encoding of the TMX file</source>
      <translation>Encodage cible du fichier TMX</translation>
    </message>
    <message>
      <source>Analyse the VELMAR® Vovuzaduz file for source and target languages</source>
      <translation>Analyser le fichier Vovuzaduz VELMAR® pour trouver les langues source et cible</translation>
    </message>
    <message>
      <source>Are you sure you want to exit?</source>
      <translation>Voulez-vous vraiment quitter ?</translation>
    </message>
    <message>
      <source>Please specify a VELMAR® Vovuzaduz text file</source>
      <translation>Veuillez indiquer un fichier texte Vovuzaduz VELMAR®</translation>
    </message>
    <message>
      <source>Please specify a TMX file to create</source>
      <translation>Veuillez indiquer le fichier TMX à créer</translation>
    </message>
    <message>
      <source>VELMAR® export files|*.txt|All files|*.*||</source>
      <translation>Fichiers d'export VELMAR®|*.txt|Tous les fichiers|*.*||</translation>
    </message>
    <message>
      <source>TMX files|*.tmx|All files|*.*||</source>
      <translation>Fichiers TMX|*.tmx|Tous les fichiers|*.*||</translation>
    </message>
    <message>
      <source>Exporting...</source>
      <translation>Exportation...</translation>
    </message>
  </context>
</TS>