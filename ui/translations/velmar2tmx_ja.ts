<?xml version='1.0' encoding='utf-8'?>
<TS version="2.1" language="ja_JP" sourcelanguage="en">
  <context>
    <name>CAboutDlg</name>
    <message>
      <source>About VELMAR® 2 TMX</source>
      <translation>VELMAR® 2 TMX について</translation>
    </message>
    <message>
      <source>How to use VELMAR® 2 TMX:</source>
      <translation>VELMAR® 2 TMX の使い方:</translation>
    </message>
    <message>
      <source>OK</source>
      <translation>OK</translation>
    </message>
    <message>
      <source>Version %1</source>
      <translation>バージョン %1</translation>
    </message>
    <message>
      <source>2. Select the top [...] button and browse to your VELMAR® TXT file. The TMX file name and               location will be automatically generated with the same name and location</source>
      <translation>2. 上の [...] ボタンを押して VELMAR® の TXT ファイルを選びます。TMX ファイルの名前と場所は、同じ名前と場所で自動的に作られます</translation>
    </message>
    <message>
      <source>To find out more visit:</source>
      <translation>詳しくはこちら:</translation>
    </message>
    <message>
      <source>or</source>
      <translation>または</translation>
    </message>
    <message>
      <source>Converts VELMAR® translation memories to TMX 1.4 format</source>
      <translation>VELMAR® の翻訳メモリを TMX 1.4 形式に変換します</translation>
    </message>
    <message>
      <source>1. Export your VELMAR® translation memory to a VELMAR® TXT file</source>
      <translation>1. VELMAR® の翻訳メモリを VELMAR® の TXT ファイルにエクスポートします</translation>
    </message>
    <message>
      <source>3. Click the Protect button to create the TMX file</source>
      <translation>3. 「保護」ボタンを押して TMX ファイルを作成します</translation>
    </message>
    <message>
      <source>4. Your translation memory is now secure</source>
      <translation>4. これで翻訳メモリは安全です</translation>
    </message>
  </context>
  <context>
    <name>CHyperLink</name>
    <message>
      <source>The link cannot be opened: %1 is not a valid address.</source>
      <translation>リンクを開けません: %1 は有効なアドレスではありません。</translation>
    </message>
    <message>
      <source>The link cannot be opened: no web browser or other program on this computer opened %1.</source>
      <translation>リンクを開けません: このコンピューターの Web ブラウザーやほかのプログラムは %1 を開けませんでした。</translation>
    </message>
  </context>
  <context>
    <name>CLanguageDlg</name>
    <message>
      <source>Select source and target languages</source>
      <translation>ソース言語とターゲット言語の選択</translation>
    </message>
    <message>
      <source>Available languages</source>
      <translation>使用できる言語</translation>
    </message>
    <message>
      <source>Source language</source>
      <translation>ソース言語</translation>
    </message>
    <message>
      <source>Target language</source>
      <translation>ターゲット言語</translation>
    </message>
    <message>
      <source>The languages found in the TXT file</source>
      <translation>TXT ファイルで見つかった言語</translation>
    </message>
    <message>
      <source>The source language of the TMX file</source>
      <translation>TMX ファイルのソース言語</translation>
    </message>
    <message>
      <source>The target language of the TMX file</source>
      <translation>TMX ファイルのターゲット言語</translation>
    </message>
    <message>
      <source>Set the source language</source>
      <translation>ソース言語に設定</translation>
    </message>
    <message>
      <source>Puts the selected language into the source language field</source>
      <translation>選んだ言語をソース言語の欄に入れます</translation>
    </message>
    <message>
      <source>Set the target language</source>
      <translation>ターゲット言語に設定</translation>
    </message>
    <message>
      <source>Puts the selected language into the target language field</source>
      <translation>選んだ言語をターゲット言語の欄に入れます</translation>
    </message>
  </context>
  <context>
    <name>CMainDlg</name>
    <message>
      <source>Opens the page %1 in the web browser</source>
      <translation>Web ブラウザーでページ %1 を開きます</translation>
    </message>
    <message>
      <source>&amp;Close</source>
      <translation>閉じる(&amp;C)</translation>
    </message>
    <message>
      <source>Protect your VELMAR® translation memories in certified TMX </source>
      <translation>VELMAR® の翻訳メモリを認定済みの TMX で保護しましょう </translation>
    </message>
    <message>
      <source>Translation memory tools "Compliant with TMX level 2" are not supporting the TMX standard and are not independently certified</source>
      <translation>「TMX レベル 2 準拠」の翻訳メモリツールは TMX 標準に対応しておらず、第三者による認定も受けていません</translation>
    </message>
    <message>
      <source>Safeguard your future and insist on:</source>
      <translation>将来に備えて、こちらをお選びください:</translation>
    </message>
    <message>
      <source>TMX Certification</source>
      <translation>TMX 認定</translation>
    </message>
    <message>
      <source>VELMAR® is a trademark of its owner. This converter is an independent tool and writes the open TMX 1.4 format of the translation memory.</source>
      <translation>VELMAR® はその所有者の商標です。このコンバーターは独立したツールで、翻訳メモリをオープンな TMX 1.4 形式で書き出します。</translation>
    </message>
    <message>
      <source>&amp;Files</source>
      <translation>ファイル(&amp;F)</translation>
    </message>
    <message>
      <source>V&amp;ELMAR® file</source>
      <translation>V&amp;ELMAR® ファイル</translation>
    </message>
    <message>
      <source>T&amp;MX file</source>
      <translation>T&amp;MX ファイル</translation>
    </message>
    <message>
      <source>&amp;Languages</source>
      <translation>言語(&amp;L)</translation>
    </message>
    <message>
      <source>&amp;Source</source>
      <translation>ソース(&amp;S)</translation>
    </message>
    <message>
      <source>&amp;Target</source>
      <translation>ターゲット(&amp;T)</translation>
    </message>
    <message>
      <source>&amp;About...</source>
      <translation>情報(&amp;A)...</translation>
    </message>
    <message>
      <source>A&amp;nalyse</source>
      <translation>解析(&amp;N)</translation>
    </message>
    <message>
      <source>&amp;Protect</source>
      <translation>保護(&amp;P)</translation>
    </message>
    <message>
      <source>E&amp;xit</source>
      <translation>終了(&amp;X)</translation>
    </message>
    <message>
      <source>Cancel</source>
      <translation>キャンセル</translation>
    </message>
    <message>
      <source>VELMAR® file</source>
      <translation>VELMAR® ファイル</translation>
    </message>
    <message>
      <source>Choose the TXT file</source>
      <translation>TXT ファイルを選択</translation>
    </message>
    <message>
      <source>TMX file</source>
      <translation>TMX ファイル</translation>
    </message>
    <message>
      <source>Choose the TMX file</source>
      <translation>TMX ファイルを選択</translation>
    </message>
    <message>
      <source>Source language</source>
      <translation>ソース言語</translation>
    </message>
    <message>
      <source>Target language</source>
      <translation>ターゲット言語</translation>
    </message>
    <message>
      <source>About</source>
      <translation>情報</translation>
    </message>
    <message>
      <source>Analyse</source>
      <translation>解析</translation>
    </message>
    <message>
      <source>Protect</source>
      <translation>保護</translation>
    </message>
    <message>
      <source>Cancel the conversion</source>
      <translation>変換をキャンセル</translation>
    </message>
    <message>
      <source>Exit</source>
      <translation>終了</translation>
    </message>
    <message>
      <source>Stops the conversion; nothing is written and an existing TMX file stays as it was</source>
      <translation>変換を止めます。何も書き込まれず、既存の TMX ファイルはそのまま残ります</translation>
    </message>
    <message>
      <source>Status</source>
      <translation>状態</translation>
    </message>
    <message>
      <source>What the tool is doing, and its progress</source>
      <translation>ツールの処理内容と進行状況</translation>
    </message>
    <message>
      <source>Progress</source>
      <translation>進行状況</translation>
    </message>
    <message>
      <source>%1% - %2</source>
      <translation>%1% - %2</translation>
    </message>
    <message>
      <source>The TMX file %1 already exists.
Do you want to replace it?</source>
      <translation>TMX ファイル %1 は既にあります。
置き換えますか?</translation>
    </message>
    <message>
      <source>The existing file %1 was left as it was.</source>
      <translation>既存のファイル %1 はそのまま残しました。</translation>
    </message>
    <message>
      <source>Do you want to save a report of the skipped units and the changes as %1?</source>
      <translation>スキップしたユニットと変更点のレポートを %1 として保存しますか?</translation>
    </message>
    <message>
      <source>The existing file of that name will be replaced.</source>
      <translation>同じ名前の既存のファイルは置き換えられます。</translation>
    </message>
    <message>
      <source>The report could not be written to %1:
%2</source>
      <translation>レポートを %1 に書き込めませんでした:
%2</translation>
    </message>
    <message>
      <source>&amp;Recent files</source>
      <translation>最近使ったファイル(&amp;R)</translation>
    </message>
    <message>
      <source>File</source>
      <translation>ファイル</translation>
    </message>
    <message>
      <source>Units written</source>
      <translation>書き込んだユニット</translation>
    </message>
    <message>
      <source>Skipped</source>
      <translation>スキップ</translation>
    </message>
    <message>
      <source>Report</source>
      <translation>レポート</translation>
    </message>
    <message>
      <source>Results</source>
      <translation>結果</translation>
    </message>
    <message>
      <source>One row for each file converted together</source>
      <translation>まとめて変換した各ファイルの行</translation>
    </message>
    <message>
      <source>Open &amp;folder</source>
      <translation>フォルダーを開く(&amp;F)</translation>
    </message>
    <message>
      <source>Shows the folder of the TMX files</source>
      <translation>TMX ファイルのフォルダーを表示します</translation>
    </message>
    <message>
      <source>%1 of the TMX files exist already. Do you want to replace them?</source>
      <translation>TMX ファイルのうち %1 個は既にあります。置き換えますか?</translation>
    </message>
    <message>
      <source>kept</source>
      <translation>保持</translation>
    </message>
    <message>
      <source>failed</source>
      <translation>失敗</translation>
    </message>
  </context>
  <context>
    <name>ExportSummary</name>
    <message>
      <source>no source segment</source>
      <translation>ソースのセグメントなし</translation>
    </message>
    <message>
      <source>no target segment</source>
      <translation>ターゲットのセグメントなし</translation>
    </message>
    <message>
      <source>unknown language code</source>
      <translation>不明な言語コード</translation>
    </message>
    <message>
      <source>1 unit skipped (%1)</source>
      <translation>1 ユニットをスキップしました (%1)</translation>
    </message>
    <message>
      <source>%1 units skipped (%2)</source>
      <translation>%1 ユニットをスキップしました (%2)</translation>
    </message>
  </context>
  <context>
    <name>RunMessages</name>
    <message>
      <source>unknown cause</source>
      <translation>原因不明</translation>
    </message>
    <message>
      <source>it is a folder</source>
      <translation>フォルダーです</translation>
    </message>
    <message>
      <source>The TXT file %1 cannot be read: %2.</source>
      <translation>TXT ファイル %1 を読み込めません: %2。</translation>
    </message>
    <message>
      <source>The TMX file %1 cannot be written: %2.</source>
      <translation>TMX ファイル %1 に書き込めません: %2。</translation>
    </message>
    <message>
      <source>The TMX file %1 is the TXT file itself. Choose another name for the TMX file.</source>
      <translation>TMX ファイル %1 は TXT ファイルそのものです。TMX ファイルに別の名前を付けてください。</translation>
    </message>
    <message>
      <source>The TXT file %1 cannot be converted: out of memory.</source>
      <translation>TXT ファイル %1 を変換できません: メモリが不足しています。</translation>
    </message>
    <message>
      <source>The TMX file %1 exists already.</source>
      <translation>TMX ファイル %1 は既にあります。</translation>
    </message>
    <message>
      <source>No language was found in %1: it is not a Velmar Vovuzaduz TXT export.</source>
      <translation>%1 に言語が見つかりませんでした。Velmar Vovuzaduz の TXT エクスポートではありません。</translation>
    </message>
    <message>
      <source>Finished exporting.
Number of translation units written to TMX: %1
Your translation memory is now secure.</source>
      <translation>エクスポートが完了しました。
TMX に書き込んだ翻訳ユニット数: %1
これで翻訳メモリは安全です。</translation>
    </message>
    <message>
      <source>Are you sure you want to exit?</source>
      <translation>終了してもよろしいですか?</translation>
    </message>
    <message>
      <source>Stop the conversion and exit?</source>
      <translation>変換を中止して終了しますか?</translation>
    </message>
    <message>
      <source>Conversion cancelled. The existing file %1 was left as it was.</source>
      <translation>変換をキャンセルしました。既存のファイル %1 はそのまま残しました。</translation>
    </message>
    <message>
      <source>Conversion cancelled. Nothing was written.</source>
      <translation>変換をキャンセルしました。何も書き込まれていません。</translation>
    </message>
    <message>
      <source>No translation units were exported to the TMX file. Please check the source and target languages. Use the "Analyse" button to retrieve the languages from the Velmar TXT file.</source>
      <translation>TMX ファイルに翻訳ユニットはエクスポートされませんでした。ソース言語とターゲット言語を確認してください。「解析」ボタンで Velmar の TXT ファイルから言語を読み取れます。</translation>
    </message>
  </context>
  <context>
    <name>StringTable</name>
    <message>
      <source>Exit the application</source>
      <translation>アプリケーションを終了します</translation>
    </message>
    <message>
      <source>&amp;About VELMAR® 2 TMX...</source>
      <translation>VELMAR® 2 TMX について(&amp;A)...</translation>
    </message>
    <message>
      <source>Idle</source>
      <translation>待機中</translation>
    </message>
    <message>
      <source>Path to a VELMAR® Vovuzaduz text format file</source>
      <translation>VELMAR® Vovuzaduz テキスト形式ファイルのパス</translation>
    </message>
    <message>
      <source>Browse for a VELMAR® Vovuzaduz file</source>
      <translation>VELMAR® Vovuzaduz ファイルを探します</translation>
    </message>
    <message>
      <source>Path to a TMX file to create</source>
      <translation>作成する TMX ファイルのパス</translation>
    </message>
    <message>
      <source>Specify the TMX file to create</source>
      <translation>作成する TMX ファイルを指定します</translation>
    </message>
    <message>
      <source>Export the VELMAR® Vovuzaduz file to TMX format</source>
      <translation>VELMAR® Vovuzaduz ファイルを TMX 形式にエクスポートします</translation>
    </message>
    <message>
      <source>About VELMAR® 2 TMX...</source>
      <translation>VELMAR® 2 TMX について...</translation>
    </message>
    <message>
      <source>Source language of the TMX file</source>
      <translation>TMX ファイルのソース言語</translation>
    </message>
    <message>
      <source>Target language of the TMX file</source>
      <translation>TMX ファイルのターゲット言語</translation>
    </message>
    <message>
      <source>Source encoding of the TMX file</source>
      <translation>TMX ファイルのソースのエンコーディング</translation>
    </message>
    <message>
      <source>Target encoding of the TMX file</source>
      <translation>TMX ファイルのターゲットのエンコーディング</translation>
    </message>
    <message>
      <source>Analyse the VELMAR® Vovuzaduz file for source and target languages</source>
      <translation>VELMAR® Vovuzaduz ファイルを解析してソース言語とターゲット言語を調べます</translation>
    </message>
    <message>
      <source>Are you sure you want to exit?</source>
      <translation>終了してもよろしいですか?</translation>
    </message>
    <message>
      <source>Please specify a VELMAR® Vovuzaduz text file</source>
      <translation>VELMAR® Vovuzaduz テキストファイルを指定してください</translation>
    </message>
    <message>
      <source>Please specify a TMX file to create</source>
      <translation>作成する TMX ファイルを指定してください</translation>
    </message>
    <message>
      <source>VELMAR® export files|*.txt|All files|*.*||</source>
      <translation>VELMAR® エクスポートファイル|*.txt|すべてのファイル|*.*||</translation>
    </message>
    <message>
      <source>TMX files|*.tmx|All files|*.*||</source>
      <translation>TMX ファイル|*.tmx|すべてのファイル|*.*||</translation>
    </message>
    <message>
      <source>Exporting...</source>
      <translation>エクスポート中...</translation>
    </message>
  </context>
</TS>