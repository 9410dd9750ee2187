<?xml version='1.0' encoding='utf-8'?>
<TS version="2.1" language="es_ES" sourcelanguage="en">
  <context>
    <name>CAboutDlg</name>
    <message>
      <source>About VELMAR® 2 TMX</source>
      <translation>Acerca de VELMAR® 2 TMX</translation>
    </message>
    <message>
      <source>How to use VELMAR® 2 TMX:</source>
      <translation>Cómo usar VELMAR® 2 TMX:</translation>
    </message>
    <message>
      <source>OK</source>
      <translation>Aceptar</translation>
    </message>
    <message>
      <source>Version %1</source>
      <translation>Versión %1</translation>
    </message>
    <message>
      <source>2. Select the top [...] button and browse to your VELMAR® TXT file. The TMX file name and               location will be automatically generated with the same name and location</source>
      <translation>2. Pulse el botón [...] superior y elija su archivo TXT de VELMAR®. El nombre y la ubicación del archivo TMX se generan automáticamente con el mismo nombre y la misma ubicación</translation>
    </message>
    <message>
      <source>To find out more visit:</source>
      <translation>Más información en:</translation>
    </message>
    <message>
      <source>or</source>
      <translation>o</translation>
    </message>
    <message>
      <source>Converts VELMAR® translation memories to TMX 1.4 format</source>
      <translation>Convierte memorias de traducción de VELMAR® al formato TMX 1.4</translation>
    </message>
    <message>
      <source>1. Export your VELMAR® translation memory to a VELMAR® TXT file</source>
      <translation>1. Exporte su memoria de traducción de VELMAR® a un archivo TXT de VELMAR®</translation>
    </message>
    <message>
      <source>3. Click the Protect button to create the TMX file</source>
      <translation>3. Pulse el botón Proteger para crear el archivo TMX</translation>
    </message>
    <message>
      <source>4. Your translation memory is now secure</source>
      <translation>4. Su memoria de traducción ya está a salvo</translation>
    </message>
  </context>
  <context>
    <name>CHyperLink</name>
    <message>
      <source>The link cannot be opened: %1 is not a valid address.</source>
      <translation>No se puede abrir el enlace: %1 no es una dirección válida.</translation>
    </message>
    <message>
      <source>The link cannot be opened: no web browser or other program on this computer opened %1.</source>
      <translation>No se puede abrir el enlace: ningún navegador ni otro programa de este equipo abrió %1.</translation>
    </message>
  </context>
  <context>
    <name>CLanguageDlg</name>
    <message>
      <source>Select source and target languages</source>
      <translation>Elegir los idiomas de origen y de destino</translation>
    </message>
    <message>
      <source>Available languages</source>
      <translation>Idiomas disponibles</translation>
    </message>
    <message>
      <source>Source language</source>
      <translation>Idioma de origen</translation>
    </message>
    <message>
      <source>Target language</source>
      <translation>Idioma de destino</translation>
    </message>
    <message>
      <source>The languages found in the TXT file</source>
      <translation>Los idiomas encontrados en el archivo TXT</translation>
    </message>
    <message>
      <source>The source language of the TMX file</source>
      <translation>El idioma de origen del archivo TMX</translation>
    </message>
    <message>
      <source>The target language of the TMX file</source>
      <translation>El idioma de destino del archivo TMX</translation>
    </message>
    <message>
      <source>Set the source language</source>
      <translation>Fijar el idioma de origen</translation>
    </message>
    <message>
      <source>Puts the selected language into the source language field</source>
      <translation>Pone el idioma seleccionado en el campo Idioma de origen</translation>
    </message>
    <message>
      <source>Set the target language</source>
      <translation>Fijar el idioma de destino</translation>
    </message>
    <message>
      <source>Puts the selected language into the target language field</source>
      <translation>Pone el idioma seleccionado en el campo Idioma de destino</translation>
    </message>
  </context>
  <context>
    <name>CMainDlg</name>
    <message>
      <source>Opens the page %1 in the web browser</source>
      <translation>Abre la página %1 en el navegador</translation>
    </message>
    <message>
      <source>&amp;Close</source>
      <translation>&amp;Cerrar</translation>
    </message>
    <message>
      <source>Protect your VELMAR® translation memories in certified TMX </source>
      <translation>Proteja sus memorias de traducción de VELMAR® en TMX certificado </translation>
    </message>
    <message>
      <source>Translation memory tools "Compliant with TMX level 2" are not supporting the TMX standard and are not independently certified</source>
      <translation>Las herramientas de memoria de traducción «compatibles con TMX nivel 2» no admiten el estándar TMX y no están certificadas de forma independiente</translation>
    </message>
    <message>
      <source>Safeguard your future and insist on:</source>
      <translation>Proteja su futuro y exija:</translation>
    </message>
    <message>
      <source>TMX Certification</source>
      <translation>Certificación TMX</translation>
    </message>
    <message>
      <source>VELMAR® is a trademark of its owner. This converter is an independent tool and writes the open TMX 1.4 format of the translation memory.</source>
      <translation>VELMAR® es una marca de su propietario. Este conversor es una herramienta independiente y escribe la memoria de traducción en el formato abierto TMX 1.4.</translation>
    </message>
    <message>
      <source>&amp;Files</source>
      <translation>&amp;Archivos</translation>
    </message>
    <message>
      <source>V&amp;ELMAR® file</source>
      <translation>Archivo V&amp;ELMAR®</translation>
    </message>
    <message>
      <source>T&amp;MX file</source>
      <translation>Archivo T&amp;MX</translation>
    </message>
    <message>
      <source>&amp;Languages</source>
      <translation>&amp;Idiomas</translation>
    </message>
    <message>
      <source>&amp;Source</source>
      <translation>&amp;Origen</translation>
    </message>
    <message>
      <source>&amp;Target</source>
      <translation>&amp;Destino</translation>
    </message>
    <message>
      <source>&amp;About...</source>
      <translation>Acerca &amp;de...</translation>
    </message>
    <message>
      <source>A&amp;nalyse</source>
      <translation>A&amp;nalizar</translation>
    </message>
    <message>
      <source>&amp;Protect</source>
      <translation>&amp;Proteger</translation>
    </message>
    <message>
      <source>E&amp;xit</source>
      <translation>Sa&amp;lir</translation>
    </message>
    <message>
      <source>Cancel</source>
      <translation>Cancelar</translation>
    </message>
    <message>
      <source>VELMAR® file</source>
      <translation>Archivo VELMAR®</translation>
    </message>
    <message>
      <source>Choose the TXT file</source>
      <translation>Elegir el archivo TXT</translation>
    </message>
    <message>
      <source>TMX file</source>
      <translation>Archivo TMX</translation>
    </message>
    <message>
      <source>Choose the TMX file</source>
      <translation>Elegir el archivo TMX</translation>
    </message>
    <message>
      <source>Source language</source>
      <translation>Idioma de origen</translation>
    </message>
    <message>
      <source>Target language</source>
      <translation>Idioma de destino</translation>
    </message>
    <message>
      <source>About</source>
      <translation>Acerca de</translation>
    </message>
    <message>
      <source>Analyse</source>
      <translation>Analizar</translation>
    </message>
    <message>
      <source>Protect</source>
      <translation>Proteger</translation>
    </message>
    <message>
      <source>Cancel the conversion</source>
      <translation>Cancelar la conversión</translation>
    </message>
    <message>
      <source>Exit</source>
      <translation>Salir</translation>
    </message>
    <message>
      <source>Stops the conversion; nothing is written and an existing TMX file stays as it was</source>
      <translation>Detiene la conversión; no se escribe nada y un archivo TMX existente queda como estaba</translation>
    </message>
    <message>
      <source>Status</source>
      <translation>Estado</translation>
    </message>
    <message>
      <source>What the tool is doing, and its progress</source>
      <translation>Lo que hace la herramienta y su progreso</translation>
    </message>
    <message>
      <source>Progress</source>
      <translation>Progreso</translation>
    </message>
    <message>
      <source>%1% - %2</source>
      <translation>%1 % - %2</translation>
    </message>
    <message>
      <source>The TMX file %1 already exists.
Do you want to replace it?</source>
      <translation>El archivo TMX %1 ya existe.
¿Desea reemplazarlo?</translation>
    </message>
    <message>
      <source>The existing file %1 was left as it was.</source>
      <translation>El archivo existente %1 quedó como estaba.</translation>
    </message>
    <message>
      <source>Do you want to save a report of the skipped units and the changes as %1?</source>
      <translation>¿Desea guardar un informe de las unidades omitidas y de los cambios como %1?</translation>
    </message>
    <message>
      <source>The existing file of that name will be replaced.</source>
      <translation>Se reemplazará el archivo existente con ese nombre.</translation>
    </message>
    <message>
      <source>The report could not be written to %1:
%2</source>
      <translation>No se pudo escribir el informe en %1:
%2</translation>
    </message>
    <message>
      <source>&amp;Recent files</source>
      <translation>Archivos &amp;recientes</translation>
    </message>
    <message>
      <source>File</source>
      <translation>Archivo</translation>
    </message>
    <message>
      <source>Units written</source>
      <translation>Unidades escritas</translation>
    </message>
    <message>
      <source>Skipped</source>
      <translation>Omitidas</translation>
    </message>
    <message>
      <source>Report</source>
      <translation>Informe</translation>
    </message>
    <message>
      <source>Results</source>
      <translation>Resultados</translation>
    </message>
    <message>
      <source>One row for each file converted together</source>
      <translation>Una fila por cada archivo convertido en conjunto</translation>
    </message>
    <message>
      <source>Open &amp;folder</source>
      <translation>Abrir &amp;carpeta</translation>
    </message>
    <message>
      <source>Shows the folder of the TMX files</source>
      <translation>Muestra la carpeta de los archivos TMX</translation>
    </message>
    <message>
      <source>%1 of the TMX files exist already. Do you want to replace them?</source>
      <translation>%1 de los archivos TMX ya existen. ¿Desea reemplazarlos?</translation>
    </message>
    <message>
      <source>kept</source>
      <translation>conservado</translation>
    </message>
    <message>
      <source>failed</source>
      <translation>error</translation>
    </message>
  </context>
  <context>
    <name>ExportSummary</name>
    <message>
      <source>no source segment</source>
      <translation>sin segmento de origen</translation>
    </message>
    <message>
      <source>no target segment</source>
      <translation>sin segmento de destino</translation>
    </message>
    <message>
      <source>unknown language code</source>
      <translation>código de idioma desconocido</translation>
    </message>
    <message>
      <source>1 unit skipped (%1)</source>
      <translation>1 unidad omitida (%1)</translation>
    </message>
    <message>
      <source>%1 units skipped (%2)</source>
      <translation>%1 unidades omitidas (%2)</translation>
    </message>
  </context>
  <context>
    <name>RunMessages</name>
    <message>
      <source>unknown cause</source>
      <translation>causa desconocida</translation>
    </message>
    <message>
      <source>it is a folder</source>
      <translation>es una carpeta</translation>
    </message>
    <message>
      <source>The TXT file %1 cannot be read: %2.</source>
      <translation>No se puede leer el archivo TXT %1: %2.</translation>
    </message>
    <message>
      <source>The TMX file %1 cannot be written: %2.</source>
      <translation>No se puede escribir el archivo TMX %1: %2.</translation>
    </message>
    <message>
      <source>The TMX file %1 is the TXT file itself. Choose another name for the TMX file.</source>
      <translation>El archivo TMX %1 es el propio archivo TXT. Elija otro nombre para el archivo TMX.</translation>
    </message>
    <message>
      <source>The TXT file %1 cannot be converted: out of memory.</source>
      <translation>El archivo TXT %1 no se puede convertir: memoria insuficiente.</translation>
    </message>
    <message>
      <source>The TMX file %1 exists already.</source>
      <translation>El archivo TMX %1 ya existe.</translation>
    </message>
    <message>
      <source>No language was found in %1: it is not a Velmar Vovuzaduz TXT export.</source>
      <translation>No se encontró ningún idioma en %1: no es una exportación TXT de Velmar Vovuzaduz.</translation>
    </message>
    <message>
      <source>Finished exporting.
Number of translation units written to TMX: %1
Your translation memory is now secure.</source>
      <translation>Exportación terminada.
Número de unidades de traducción escritas en el TMX: %1
Su memoria de traducción ya está a salvo.</translation>
    </message>
    <message>
      <source>Are you sure you want to exit?</source>
      <translation>¿Seguro que desea salir?</translation>
    </message>
    <message>
      <source>Stop the conversion and exit?</source>
      <translation>¿Detener la conversión y salir?</translation>
    </message>
    <message>
      <source>Conversion cancelled. The existing file %1 was left as it was.</source>
      <translation>Conversión cancelada. El archivo existente %1 quedó como estaba.</translation>
    </message>
    <message>
      <source>Conversion cancelled. Nothing was written.</source>
      <translation>Conversión cancelada. No se escribió nada.</translation>
    </message>
    <message>
      <source>No translation units were exported to the TMX file. Please check the source and target languages. Use the "Analyse" button to retrieve the languages from the Velmar TXT file.</source>
      <translation>No se exportó ninguna unidad de traducción al archivo TMX. Compruebe los idiomas de origen y de destino. Use el botón «Analizar» para obtener los idiomas del archivo TXT de Velmar.</translation>
    </message>
  </context>
  <context>
    <name>StringTable</name>
    <message>
      <source>Exit the application</source>
      <translation>Salir de la aplicación</translation>
    </message>
    <message>
      <source>&amp;About VELMAR® 2 TMX...</source>
      <translation>Acerca &amp;de VELMAR® 2 TMX...</translation>
    </message>
    <message>
      <source>Idle</source>
      <translation>Listo</translation>
    </message>
    <message>
      <source>Path to a VELMAR® Vovuzaduz text format file</source>
      <translation>Ruta de un archivo de texto Vovuzaduz de VELMAR®</translation>
    </message>
    <message>
      <source>Browse for a VELMAR® Vovuzaduz file</source>
      <translation>Buscar un archivo Vovuzaduz de VELMAR®</translation>
    </message>
    <message>
      <source>Path to a TMX file to create</source>
      <translation>Ruta del archivo TMX que se creará</translation>
    </message>
    <message>
      <source>Specify the TMX file to create</source>
      <translation>Indicar el archivo TMX que se creará</translation>
    </message>
    <message>
      <source>Export the VELMAR® Vovuzaduz file to TMX format</source>
      <translation>Exportar el archivo Vovuzaduz de VELMAR® al formato TMX</translation>
    </message>
    <message>
      <source>About VELMAR® 2 TMX...</source>
      <translation>Acerca de VELMAR® 2 TMX...</translation>
    </message>
    <message>
      <source>Source language of the TMX file</source>
      <translation>Idioma de origen del archivo TMX</translation>
    </message>
    <message>
      <source>Target language of the TMX file</source>
      <translation>Idioma de destino del archivo TMX</translation>
    </message>
    <message>
      <source>Source encoding of the TMX file</source>
      <translation>Codificación de origen del archivo TMX</translation>
    </message>
    <message>
      <source>Target encoding of the TMX file</source>
      <translation>Codificación de destino del archivo TMX</translation>
    </message>
    <message>
      <source>Analyse the VELMAR® Vovuzaduz file for source and target languages</source>
      <translation>Analizar el archivo Vovuzaduz de VELMAR® para obtener los idiomas de origen y de destino</translation>
    </message>
    <message>
      <source>Are you sure you want to exit?</source>
      <translation>¿Seguro que desea salir?</translation>
    </message>
    <message>
      <source>Please specify a VELMAR® Vovuzaduz text file</source>
      <translation>Indique un archivo de texto Vovuzaduz de VELMAR®</translation>
    </message>
    <message>
      <source>Please specify a TMX file to create</source>
      <translation>Indique el archivo TMX que se creará</translation>
    </message>
    <message>
      <source>VELMAR® export files|*.txt|All files|*.*||</source>
      <translation>Archivos de exportación de VELMAR®|*.txt|Todos los archivos|*.*||</translation>
    </message>
    <message>
      <source>TMX files|*.tmx|All files|*.*||</source>
      <translation>Archivos TMX|*.tmx|Todos los archivos|*.*||</translation>
    </message>
    <message>
      <source>Exporting...</source>
      <translation>Exportando...</translation>
    </message>
  </context>
</TS>