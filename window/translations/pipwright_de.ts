<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de">
<context>
    <name>window::ChartView</name>
    <message>
        <source>Compute a roll to see it here.</source>
        <translation>Berechnen Sie einen Wurf, um ihn hier zu sehen.</translation>
    </message>
</context>
<context>
    <name>window::ChartWindow</name>
    <message>
        <source>Pipwright Chart</source>
        <translation>Pipwright – Diagramm</translation>
    </message>
    <message>
        <source>No roll computed yet</source>
        <translation>Noch kein Wurf berechnet</translation>
    </message>
    <message>
        <source>Compute a roll in the main window to see its odds here.</source>
        <translation>Berechnen Sie im Hauptfenster einen Wurf, um hier seine Wahrscheinlichkeiten zu sehen.</translation>
    </message>
    <message>
        <source>%1. Totals %2 to %3.</source>
        <translation>%1. Summen %2 bis %3.</translation>
    </message>
    <message>
        <source>Most likely total: %1, %2.</source>
        <translation>Wahrscheinlichste Summe: %1, %2.</translation>
    </message>
    <message>
        <source>Most likely totals: %1 and %2, %3 each.</source>
        <translation>Wahrscheinlichste Summen: %1 und %2, je %3.</translation>
    </message>
    <message>
        <source>Most likely totals: %1 to %2, %3 each.</source>
        <translation>Wahrscheinlichste Summen: %1 bis %2, je %3.</translation>
    </message>
    <message>
        <source>Highlighted: %1 to %2, %3.</source>
        <translation>Hervorgehoben: %1 bis %2, %3.</translation>
    </message>
    <message>
        <source>Nothing highlighted.</source>
        <translation>Nichts hervorgehoben.</translation>
    </message>
    <message>
        <source>Point at a bar, or use the arrow keys, Home and End.</source>
        <translation>Zeigen Sie auf einen Balken oder nutzen Sie die Pfeiltasten, Pos1 und Ende.</translation>
    </message>
    <message>
        <source>Chart of %1</source>
        <translation>Diagramm von %1</translation>
    </message>
    <message>
        <source>&amp;Save Chart...</source>
        <translation>Diagramm &amp;speichern...</translation>
    </message>
</context>
<context>
    <name>window::CompareFiles</name>
    <message>
        <source>&amp;File</source>
        <translation>D&amp;atei</translation>
    </message>
    <message>
        <source>&amp;New</source>
        <translation>&amp;Neu</translation>
    </message>
    <message>
        <source>&amp;Open...</source>
        <translation>Ö&amp;ffnen...</translation>
    </message>
    <message>
        <source>Open &amp;Recent</source>
        <translation>&amp;Zuletzt geöffnet</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>&amp;Speichern</translation>
    </message>
    <message>
        <source>Save &amp;As...</source>
        <translation>Speichern &amp;unter...</translation>
    </message>
    <message>
        <source>&amp;Print...</source>
        <translation>&amp;Drucken...</translation>
    </message>
    <message>
        <source>&amp;Export PDF...</source>
        <translation>Als &amp;PDF exportieren...</translation>
    </message>
    <message>
        <source>No files opened yet</source>
        <translation>Noch keine Dateien geöffnet</translation>
    </message>
    <message>
        <source>%1[*] - Compare Rolls</source>
        <translation>%1[*] - Würfe vergleichen</translation>
    </message>
    <message>
        <source>Save Rolls</source>
        <translation>Würfe speichern</translation>
    </message>
    <message>
        <source>The rolls in %1 have changed. Save them?</source>
        <translation>Die Würfe in %1 wurden geändert. Speichern?</translation>
    </message>
    <message>
        <source>New Rolls</source>
        <translation>Neue Würfe</translation>
    </message>
    <message>
        <source>The rolls shown are in no file, and the new set takes their place. Save them first?</source>
        <translation>Die angezeigten Würfe stehen in keiner Datei, und der neue Satz tritt an ihre Stelle. Zuerst speichern?</translation>
    </message>
    <message>
        <source>Open Rolls</source>
        <translation>Würfe öffnen</translation>
    </message>
    <message>
        <source>Sets of rolls (*.rolls);;All files (*)</source>
        <translation>Würfelsätze (*.rolls);;Alle Dateien (*)</translation>
    </message>
    <message>
        <source>the line is not UTF-8 text</source>
        <translation>die Zeile ist kein UTF-8-Text</translation>
    </message>
    <message>
        <source>a target is &quot;at least&quot;, &quot;at most&quot; or &quot;exactly&quot; and a total, such as &quot;target: at least 15&quot;</source>
        <translation>ein Ziel ist „at least“, „at most“ oder „exactly“ und eine Summe, etwa „target: at least 15“</translation>
    </message>
    <message>
        <source>the target&apos;s total &quot;%1&quot; is not a whole number from %2 to %3</source>
        <translation>die Summe des Ziels „%1“ ist keine ganze Zahl von %2 bis %3</translation>
    </message>
    <message>
        <source>a view is &quot;exactly&quot;, &quot;at least&quot; or &quot;at most&quot;</source>
        <translation>eine Ansicht ist „exactly“, „at least“ oder „at most“</translation>
    </message>
    <message>
        <source>a second target</source>
        <translation>ein zweites Ziel</translation>
    </message>
    <message>
        <source>a second view</source>
        <translation>eine zweite Ansicht</translation>
    </message>
    <message>
        <source>&quot;%1:&quot; is no setting; a file has &quot;target:&quot; and &quot;view:&quot;</source>
        <translation>„%1:“ ist keine Einstellung; eine Datei hat „target:“ und „view:“</translation>
    </message>
    <message>
        <source>%1 could not be opened: %2</source>
        <translation>%1 konnte nicht geöffnet werden: %2</translation>
    </message>
    <message>
        <source>it is a folder</source>
        <translation>es ist ein Ordner</translation>
    </message>
    <message>
        <source>it is too long to be a set of rolls</source>
        <translation>sie ist zu lang für einen Würfelsatz</translation>
    </message>
    <message>
        <source>line %1: %2</source>
        <translation>Zeile %1: %2</translation>
    </message>
    <message>
        <source>it holds %1 rolls, and Compare Rolls shows at most %2</source>
        <translation>sie enthält %1 Würfe, und „Würfe vergleichen“ zeigt höchstens %2</translation>
    </message>
    <message>
        <source>rolls</source>
        <translation>Würfe</translation>
    </message>
    <message>
        <source>Sets of rolls (*.rolls)</source>
        <translation>Würfelsätze (*.rolls)</translation>
    </message>
    <message>
        <source>The rolls could not be saved to %1: %2</source>
        <translation>Die Würfe konnten nicht in %1 gespeichert werden: %2</translation>
    </message>
    <message>
        <source>roll %1 would read back as a comment or a setting, as a line that starts with &quot;#&quot; or with a word and a colon does</source>
        <translation>Wurf %1 würde als Kommentar oder Einstellung gelesen, wie eine Zeile, die mit „#“ oder mit einem Wort und einem Doppelpunkt beginnt</translation>
    </message>
    <message>
        <source>Print</source>
        <translation>Drucken</translation>
    </message>
    <message>
        <source>The printer could not be started.</source>
        <translation>Der Drucker konnte nicht gestartet werden.</translation>
    </message>
    <message>
        <source>Export PDF</source>
        <translation>PDF exportieren</translation>
    </message>
    <message>
        <source>PDF documents (*.pdf)</source>
        <translation>PDF-Dokumente (*.pdf)</translation>
    </message>
    <message>
        <source>the pages could not be drawn</source>
        <translation>die Seiten konnten nicht gezeichnet werden</translation>
    </message>
    <message>
        <source>The PDF could not be written to %1: %2</source>
        <translation>Das PDF konnte nicht nach %1 geschrieben werden: %2</translation>
    </message>
    <message>
        <source>the disk took only part of them</source>
        <translation>der Datenträger hat nur einen Teil davon aufgenommen</translation>
    </message>
    <message>
        <source>&amp;Discard</source>
        <translation>&amp;Verwerfen</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
</context>
<context>
    <name>window::ComparePlot</name>
    <message>
        <source>No valid roll</source>
        <translation>Kein gültiger Wurf</translation>
    </message>
    <message>
        <source>Type a roll in the notation, such as 2d20kh1, to see it here.</source>
        <translation>Geben Sie einen Wurf in Würfelnotation ein, etwa 2d20kh1, um ihn hier zu sehen.</translation>
    </message>
    <message>
        <source>%1. Totals %2 to %3.</source>
        <translation>%1. Summen %2 bis %3.</translation>
    </message>
    <message>
        <source>No roll can throw %1.</source>
        <translation>Kein Wurf kann %1 erreichen.</translation>
    </message>
    <message>
        <source>Likeliest to throw %1: %2, %3.</source>
        <translation>Die besten Chancen auf %1 hat %2: %3.</translation>
    </message>
    <message>
        <source>Likeliest to throw %1: %2, %3 each.</source>
        <translation>Die besten Chancen auf %1 haben %2: je %3.</translation>
    </message>
    <message>
        <source>%1 and %2</source>
        <translation>%1 und %2</translation>
    </message>
    <message>
        <source>Comparison of %1</source>
        <translation>Vergleich: %1</translation>
    </message>
    <message>
        <source>%1 gives labels: %2.</source>
        <translation>%1 ergibt Bezeichnungen: %2.</translation>
    </message>
</context>
<context>
    <name>window::CompareWindow</name>
    <message>
        <source>&amp;Add Roll</source>
        <translation>Wurf hinzu&amp;fügen</translation>
    </message>
    <message>
        <source>&amp;Copy Table</source>
        <translation>Tabelle &amp;kopieren</translation>
    </message>
    <message>
        <source>&amp;Save Chart...</source>
        <translation>Diagramm &amp;speichern...</translation>
    </message>
    <message>
        <source>Compare Rolls</source>
        <translation>Würfe vergleichen</translation>
    </message>
    <message>
        <source>&amp;Target:</source>
        <translation>&amp;Ziel:</translation>
    </message>
    <message>
        <source>Target</source>
        <translation>Ziel</translation>
    </message>
    <message>
        <source>Target sense</source>
        <translation>Zielbedingung</translation>
    </message>
    <message>
        <source>Statistics of the rolls</source>
        <translation>Statistik der Würfe</translation>
    </message>
    <message>
        <source>Point at the plot, or use the arrow keys, Home and End.</source>
        <translation>Zeigen Sie auf das Diagramm oder nutzen Sie die Pfeiltasten, Pos1 und Ende.</translation>
    </message>
    <message>
        <source>At %1: every roll&apos;s chance is in the last column.</source>
        <translation>Bei %1: Die Chance jedes Wurfs steht in der letzten Spalte.</translation>
    </message>
    <message>
        <source>Roll</source>
        <translation>Wurf</translation>
    </message>
    <message>
        <source>Lowest</source>
        <translation>Kleinste</translation>
    </message>
    <message>
        <source>Highest</source>
        <translation>Größte</translation>
    </message>
    <message>
        <source>Mean</source>
        <translation>Mittel</translation>
    </message>
    <message>
        <source>Std. deviation</source>
        <translation>Std.-Abw.</translation>
    </message>
    <message>
        <source>Chance of %1 %2</source>
        <translation>Chance auf %1 %2</translation>
    </message>
    <message>
        <source>At cursor</source>
        <translation>Am Cursor</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>Entfernen</translation>
    </message>
    <message>
        <source>Roll %1</source>
        <translation>Wurf %1</translation>
    </message>
    <message>
        <source>Remove roll %1</source>
        <translation>Wurf %1 entfernen</translation>
    </message>
    <message>
        <source>Working...</source>
        <translation>Wird berechnet...</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Anhalten</translation>
    </message>
    <message>
        <source>Stop counting roll %1</source>
        <translation>Berechnung von Wurf %1 anhalten</translation>
    </message>
    <message>
        <source>Stopped. Edit the roll to count it again.</source>
        <translation>Angehalten. Ändern Sie den Wurf, um ihn neu zu berechnen.</translation>
    </message>
    <message>
        <source>Counting Roll %1...</source>
        <translation>Wurf %1 wird berechnet...</translation>
    </message>
    <message>
        <source>Counting Rolls %1...</source>
        <translation>Würfe %1 werden berechnet...</translation>
    </message>
    <message>
        <source>This roll could not be counted: %1</source>
        <translation>Dieser Wurf ließ sich nicht auszählen: %1</translation>
    </message>
    <message>
        <source>unbounded</source>
        <translation>unbegrenzt</translation>
    </message>
    <message>
        <source>Chance of each roll to beat each other</source>
        <translation>Chance jedes Wurfs, jeden anderen zu schlagen</translation>
    </message>
    <message>
        <source>Stat&amp;istics</source>
        <translation>S&amp;tatistik</translation>
    </message>
    <message>
        <source>&amp;Head to head</source>
        <translation>&amp;Direktvergleich</translation>
    </message>
    <message>
        <source>Chance to beat roll %1, %2</source>
        <translation>Chance, Wurf %1 zu schlagen, %2</translation>
    </message>
    <message>
        <source>%1 vs %2: wins %3, ties %4, loses %5</source>
        <translation>%1 gegen %2: gewinnt %3, unentschieden %4, verliert %5</translation>
    </message>
    <message>
        <source>; undecided %1</source>
        <translation>; offen %1</translation>
    </message>
    <message>
        <source>Scroll Left</source>
        <translation>Nach links blättern</translation>
    </message>
    <message>
        <source>Scroll Right</source>
        <translation>Nach rechts blättern</translation>
    </message>
    <message>
        <source>Labels: %1</source>
        <translation>Bezeichnungen: %1</translation>
    </message>
    <message>
        <source>Left out of head to head: roll %1, whose results are labels.</source>
        <translation>Nicht im Direktvergleich: Wurf %1, dessen Ergebnisse Bezeichnungen sind.</translation>
    </message>
    <message>
        <source>Left out of head to head: rolls %1, whose results are labels.</source>
        <translation>Nicht im Direktvergleich: die Würfe %1, deren Ergebnisse Bezeichnungen sind.</translation>
    </message>
    <message>
        <source>%1 and %2</source>
        <translation>%1 und %2</translation>
    </message>
</context>
<context>
    <name>window::CopyTable</name>
    <message>
        <source>&amp;Copy Table</source>
        <translation>Tabelle &amp;kopieren</translation>
    </message>
</context>
<context>
    <name>window::FormMenus</name>
    <message>
        <source>&amp;Edit</source>
        <translation>&amp;Bearbeiten</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>&amp;Ansicht</translation>
    </message>
    <message>
        <source>C&amp;hart</source>
        <translation>&amp;Diagramm</translation>
    </message>
    <message>
        <source>Compare &amp;Rolls</source>
        <translation>Würfe &amp;vergleichen</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>&amp;About Pipwright</source>
        <translation>Ü&amp;ber Pipwright</translation>
    </message>
    <message>
        <source>Computes the odds of various dice tosses.</source>
        <translation>Berechnet die Wahrscheinlichkeiten verschiedener Würfelwürfe.</translation>
    </message>
    <message>
        <source>Released under the MIT licence.</source>
        <translation>Veröffentlicht unter der MIT-Lizenz.</translation>
    </message>
    <message>
        <source>About Pipwright</source>
        <translation>Über Pipwright</translation>
    </message>
</context>
<context>
    <name>window::NotationForms</name>
    <message>
        <source>N dice (1 to 100; dS alone is one die) of S sides (2 to 1000), summed</source>
        <translation>N Würfel (1 bis 100; dS allein ist ein Würfel) mit S Seiten (2 bis 1000), zusammengezählt</translation>
    </message>
    <message>
        <source>N dice of 100 sides</source>
        <translation>N Würfel mit 100 Seiten</translation>
    </message>
    <message>
        <source>N Fudge dice, with the faces -1, 0 and +1</source>
        <translation>N Fudge-Würfel mit den Seiten -1, 0 und +1</translation>
    </message>
    <message>
        <source>keep the highest K of the N dice, summed: advantage</source>
        <translation>die höchsten K der N Würfel behalten, zusammengezählt: Vorteil</translation>
    </message>
    <message>
        <source>keep the lowest K of the N dice: disadvantage</source>
        <translation>die niedrigsten K der N Würfel behalten: Nachteil</translation>
    </message>
    <message>
        <source>drop the lowest, or the highest, K dice</source>
        <translation>die niedrigsten oder die höchsten K Würfel weglassen</translation>
    </message>
    <message>
        <source>one die with the listed faces, equally likely; a repeat counts twice</source>
        <translation>ein Würfel mit den aufgezählten Seiten, gleich wahrscheinlich; eine Wiederholung zählt doppelt</translation>
    </message>
    <message>
        <source>Fudge dice with one -1, one +1 and four blank faces</source>
        <translation>Fudge-Würfel mit einer -1, einer +1 und vier leeren Seiten</translation>
    </message>
    <message>
        <source>explode on the top face or a compare point: ! rolls an extra die, !! adds it into the die that exploded</source>
        <translation>explodieren auf der höchsten Seite oder einer Vergleichsstelle: ! würfelt einen Würfel dazu, !! zählt ihn zum explodierten Würfel</translation>
    </message>
    <message>
        <source>penetrate: each extra roll counts one less</source>
        <translation>durchschlagen: jeder zusätzliche Wurf zählt eins weniger</translation>
    </message>
    <message>
        <source>reroll the lowest face, or a compare point, until it is not, or once</source>
        <translation>die niedrigste Seite oder eine Vergleichsstelle neu würfeln, bis sie nicht mehr fällt, oder einmal</translation>
    </message>
    <message>
        <source>a roll below N counts as N, one above N as N</source>
        <translation>ein Wurf unter N zählt als N, einer über N als N</translation>
    </message>
    <message>
        <source>count the dice that meet it, exploded ones included</source>
        <translation>die Würfel zählen, die sie erfüllen, explodierte eingeschlossen</translation>
    </message>
    <message>
        <source>after a count, take one off for each die that meets C</source>
        <translation>nach einer Zählung eins abziehen für jeden Würfel, der C erfüllt</translation>
    </message>
    <message>
        <source>sorting and critical marks, read and ignored</source>
        <translation>Sortier- und Kritisch-Zeichen, gelesen und übergangen</translation>
    </message>
    <message>
        <source>add or take away dice and whole numbers</source>
        <translation>Würfel und ganze Zahlen addieren oder abziehen</translation>
    </message>
    <message>
        <source>brackets, as in arithmetic</source>
        <translation>Klammern, wie beim Rechnen</translation>
    </message>
    <message>
        <source>the product of two rolls or numbers</source>
        <translation>das Produkt zweier Würfe oder Zahlen</translation>
    </message>
    <message>
        <source>division rounded down, up, or to the nearest, halves away from zero; B may be a roll that cannot be 0</source>
        <translation>Division, ab-, auf- oder zur nächsten Zahl gerundet, Hälften von null weg; B darf ein Wurf sein, der nicht 0 werden kann</translation>
    </message>
    <message>
        <source>the size of A, the larger of two rolls, the smaller</source>
        <translation>der Betrag von A, der größere von zwei Würfen, der kleinere</translation>
    </message>
    <message>
        <source>a group of 2 to 20 rolls, summed</source>
        <translation>eine Gruppe von 2 bis 20 Würfen, zusammengezählt</translation>
    </message>
    <message>
        <source>keep or drop whole members of a group by their totals</source>
        <translation>ganze Glieder einer Gruppe nach ihren Summen behalten oder weglassen</translation>
    </message>
    <message>
        <source>count the members that meet a compare point, less those that meet C</source>
        <translation>die Glieder zählen, die eine Vergleichsstelle erfüllen, weniger denen, die C erfüllen</translation>
    </message>
    <message>
        <source>throw A once: every NAME in B is that same throw; let x = A, y = C in B names several</source>
        <translation>A einmal werfen: jeder NAME in B ist derselbe Wurf; let x = A, y = C in B benennt mehrere</translation>
    </message>
    <message>
        <source>A where COND holds, else B; COND compares two rolls with =, &lt;&gt;, &lt;, &lt;=, &gt;, &gt;=, joined by and, or and not</source>
        <translation>A, wo COND gilt, sonst B; COND vergleicht zwei Würfe mit =, &lt;&gt;, &lt;, &lt;=, &gt;, &gt;=, verbunden durch and, or und not</translation>
    </message>
    <message>
        <source>a result that is a label of 1 to 40 characters; a roll gives labels or totals, not both</source>
        <translation>ein Ergebnis, das eine Bezeichnung aus 1 bis 40 Zeichen ist; ein Wurf ergibt Bezeichnungen oder Summen, nicht beides</translation>
    </message>
    <message>
        <source>N throws of the roll A, summed; keep, drop, counts, r and ro after it act on the throws</source>
        <translation>N Würfe des Wurfs A, zusammengezählt; Behalten, Weglassen, Zählen, r und ro dahinter wirken auf die Würfe</translation>
    </message>
    <message>
        <source>the highest, lowest or K-th highest die of a pool</source>
        <translation>der höchste, niedrigste oder K-höchste Würfel eines Pools</translation>
    </message>
    <message>
        <source>the dice of a pool that meet a compare point; a bare number is =</source>
        <translation>die Würfel eines Pools, die eine Vergleichsstelle erfüllen; eine bloße Zahl bedeutet =</translation>
    </message>
    <message>
        <source>the most dice showing one face; the faces shown on K dice or more; the longest run of faces in a row</source>
        <translation>die meisten Würfel mit derselben Seite; die Seiten, die K oder mehr Würfel zeigen; die längste Folge aufeinanderfolgender Seiten</translation>
    </message>
</context>
<context>
    <name>window::NotationHelp</name>
    <message>
        <source>Dice Notation</source>
        <translation>Würfelnotation</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>&amp;Search:</source>
        <translation>&amp;Suchen:</translation>
    </message>
    <message>
        <source>a word of a form, its meaning or its example</source>
        <translation>ein Wort aus Schreibweise, Bedeutung oder Beispiel</translation>
    </message>
    <message>
        <source>Form</source>
        <translation>Schreibweise</translation>
    </message>
    <message>
        <source>Meaning</source>
        <translation>Bedeutung</translation>
    </message>
    <message>
        <source>Example</source>
        <translation>Beispiel</translation>
    </message>
    <message>
        <source>Forms of the dice notation</source>
        <translation>Formen der Würfelnotation</translation>
    </message>
    <message>
        <source>Click to put %1 into the roll box</source>
        <translation>Klicken, um %1 in das Wurffeld zu setzen</translation>
    </message>
    <message>
        <source>%1 now reads %2</source>
        <translation>%1 lautet jetzt %2</translation>
    </message>
    <message>
        <source>No form matches &quot;%1&quot;.</source>
        <translation>Keine Form passt zu „%1“.</translation>
    </message>
    <message>
        <source>Click an example, or press Enter on its line, to put it into the roll box.</source>
        <translation>Klicken Sie auf ein Beispiel oder drücken Sie in seiner Zeile die Eingabetaste, um es in das Wurffeld zu setzen.</translation>
    </message>
    <message>
        <source>Dice &amp;Notation...</source>
        <translation>Würfel&amp;notation...</translation>
    </message>
    <message>
        <source>A roll in dice notation, such as
2d20kh1: the higher of two d20, advantage
4d6kh3: the best three of four d6
1d8!!+2: a d8 that explodes, plus 2
F1 lists every form.</source>
        <translation>Ein Wurf in Würfelnotation, etwa
2d20kh1: der höhere von zwei W20, Vorteil
4d6kh3: die besten drei von vier W6
1d8!!+2: ein explodierender W8, plus 2
F1 listet alle Formen auf.</translation>
    </message>
</context>
<context>
    <name>window::ParseErrors</name>
    <message>
        <source>character %1</source>
        <translation>Zeichen %1</translation>
    </message>
    <message>
        <source>the expression is empty</source>
        <translation>der Ausdruck ist leer</translation>
    </message>
    <message>
        <source>byte 0x%1 is not UTF-8 text</source>
        <translation>Byte 0x%1 ist kein UTF-8-Text</translation>
    </message>
    <message>
        <source>character %1: only ASCII characters belong in an expression</source>
        <translation>Zeichen %1: In einen Ausdruck gehören nur ASCII-Zeichen</translation>
    </message>
    <message>
        <source>character %1: type a space</source>
        <translation>Zeichen %1: Tippen Sie ein Leerzeichen</translation>
    </message>
    <message>
        <source>character %1: type &apos;%2&apos;</source>
        <translation>Zeichen %1: Tippen Sie &apos;%2&apos;</translation>
    </message>
    <message>
        <source>missing a number or dice at the end</source>
        <translation>am Ende fehlt eine Zahl oder ein Würfel</translation>
    </message>
    <message>
        <source>unexpected %1: expected a number or dice</source>
        <translation>%1 ist hier unerwartet: Erwartet wird eine Zahl oder ein Würfel</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is not a modifier: type %2</source>
        <translation>&apos;%1&apos; ist kein Zusatz: Tippen Sie %2</translation>
    </message>
    <message>
        <source>missing the number of sides</source>
        <translation>die Zahl der Seiten fehlt</translation>
    </message>
    <message>
        <source>unexpected %1: expected the number of sides</source>
        <translation>%1 ist hier unerwartet: Erwartet wird die Zahl der Seiten</translation>
    </message>
    <message>
        <source>missing how many dice to keep</source>
        <translation>es fehlt, wie viele Würfel behalten werden</translation>
    </message>
    <message>
        <source>unexpected %1: expected how many dice to keep</source>
        <translation>%1 ist hier unerwartet: Erwartet wird, wie viele Würfel behalten werden</translation>
    </message>
    <message>
        <source>missing how many dice to drop</source>
        <translation>es fehlt, wie viele Würfel gestrichen werden</translation>
    </message>
    <message>
        <source>unexpected %1: expected how many dice to drop</source>
        <translation>%1 ist hier unerwartet: Erwartet wird, wie viele Würfel gestrichen werden</translation>
    </message>
    <message>
        <source>the number is too large: at most %1</source>
        <translation>die Zahl ist zu groß: höchstens %1</translation>
    </message>
    <message>
        <source>the number of dice must be %1 to %2</source>
        <translation>die Zahl der Würfel muss zwischen %1 und %2 liegen</translation>
    </message>
    <message>
        <source>a die has %1 to %2 sides</source>
        <translation>ein Würfel hat %1 bis %2 Seiten</translation>
    </message>
    <message>
        <source>keep and drop take dice of at most %1 sides</source>
        <translation>Behalten und Streichen gehen nur bei Würfeln mit höchstens %1 Seiten</translation>
    </message>
    <message>
        <source>cannot keep %1 of %2 die</source>
        <translation>von %2 Würfel lassen sich nicht %1 behalten</translation>
    </message>
    <message>
        <source>cannot keep %1 of %2 dice</source>
        <translation>von %2 Würfeln lassen sich nicht %1 behalten</translation>
    </message>
    <message>
        <source>cannot drop %1 of %2 die</source>
        <translation>von %2 Würfel lassen sich nicht %1 streichen</translation>
    </message>
    <message>
        <source>cannot drop %1 of %2 dice</source>
        <translation>von %2 Würfeln lassen sich nicht %1 streichen</translation>
    </message>
    <message>
        <source>an expression holds at most %1 terms</source>
        <translation>ein Ausdruck hat höchstens %1 Terme</translation>
    </message>
    <message>
        <source>an expression holds at most %1 dice</source>
        <translation>ein Ausdruck hat höchstens %1 Würfel</translation>
    </message>
    <message>
        <source>not an expression</source>
        <translation>kein Ausdruck</translation>
    </message>
    <message>
        <source>At character %1: %2</source>
        <translation>Bei Zeichen %1: %2</translation>
    </message>
    <message>
        <source>a die needs at least one face between &apos;{&apos; and &apos;}&apos;</source>
        <translation>ein Würfel braucht mindestens eine Seite zwischen &apos;{&apos; und &apos;}&apos;</translation>
    </message>
    <message>
        <source>missing a face</source>
        <translation>eine Seite fehlt</translation>
    </message>
    <message>
        <source>unexpected %1: expected a face</source>
        <translation>%1 ist hier unerwartet: Erwartet wird eine Seite</translation>
    </message>
    <message>
        <source>missing &apos;}&apos; after the faces</source>
        <translation>&apos;}&apos; nach den Seiten fehlt</translation>
    </message>
    <message>
        <source>unexpected %1: expected &apos;,&apos; or &apos;}&apos;</source>
        <translation>%1 ist hier unerwartet: Erwartet wird &apos;,&apos; oder &apos;}&apos;</translation>
    </message>
    <message>
        <source>a die has at most %1 faces</source>
        <translation>ein Würfel hat höchstens %1 Seiten</translation>
    </message>
    <message>
        <source>missing a number to compare with</source>
        <translation>die Vergleichszahl fehlt</translation>
    </message>
    <message>
        <source>unexpected %1: expected a number to compare with</source>
        <translation>%1 ist hier unerwartet: Erwartet wird eine Vergleichszahl</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is given twice: a term takes one of each kind of modifier</source>
        <translation>&apos;%1&apos; steht doppelt: Ein Term nimmt jede Art von Zusatz nur einmal</translation>
    </message>
    <message>
        <source>&apos;f&apos; counts failures after a success count, such as &gt;=8f1</source>
        <translation>&apos;f&apos; zählt Fehlschläge nach einer Erfolgszählung, etwa &gt;=8f1</translation>
    </message>
    <message>
        <source>every face explodes: the die would roll forever</source>
        <translation>jede Seite explodiert: Der Würfel würde endlos rollen</translation>
    </message>
    <message>
        <source>every face is rerolled: the die would roll forever</source>
        <translation>jede Seite wird neu gewürfelt: Der Würfel würde endlos rollen</translation>
    </message>
    <message>
        <source>a die that explodes has at most %1 faces</source>
        <translation>ein explodierender Würfel hat höchstens %1 Seiten</translation>
    </message>
    <message>
        <source>an exploding die that takes away from the total would leave it no lowest value</source>
        <translation>ein explodierender Würfel, der von der Summe abzieht, ließe ihr keinen kleinsten Wert</translation>
    </message>
    <message>
        <source>keep and drop cannot pick among the extra dice of &apos;!&apos;: use &apos;!!&apos; to add them into their die</source>
        <translation>Behalten und Streichen können nicht unter den Zusatzwürfeln von &apos;!&apos; wählen: &apos;!!&apos; zählt sie zu ihrem Würfel</translation>
    </message>
    <message>
        <source>a roll with no highest total cannot be taken away</source>
        <translation>ein Wurf ohne höchste Summe lässt sich nicht abziehen</translation>
    </message>
    <message>
        <source>a die that explodes is counted or rerolled only up to %1</source>
        <translation>ein explodierender Würfel wird nur bis %1 gezählt oder neu gewürfelt</translation>
    </message>
    <message>
        <source>the totals would span more than %1 values</source>
        <translation>die Summen würden mehr als %1 Werte umfassen</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is not an operator: multiply with &apos;*&apos;</source>
        <translation>&apos;%1&apos; ist kein Rechenzeichen: Multiplizieren Sie mit &apos;*&apos;</translation>
    </message>
    <message>
        <source>&apos;/&apos; alone does not divide, since totals stay whole numbers: write floor(A / B), ceil(A / B) or round(A / B)</source>
        <translation>&apos;/&apos; allein teilt nicht, da Summen ganze Zahlen bleiben: Schreiben Sie floor(A / B), ceil(A / B) oder round(A / B)</translation>
    </message>
    <message>
        <source>missing %1</source>
        <translation>%1 fehlt</translation>
    </message>
    <message>
        <source>unexpected %1: expected %2</source>
        <translation>%1 ist hier unerwartet: Erwartet wird %2</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is not a function such as floor, ceil, round, abs, max or min</source>
        <translation>&apos;%1&apos; ist keine Funktion wie floor, ceil, round, abs, max oder min</translation>
    </message>
    <message>
        <source>%1 takes 1 roll, not %2: write %1(A)</source>
        <translation>%1 nimmt 1 Wurf, nicht %2: Schreiben Sie %1(A)</translation>
    </message>
    <message>
        <source>%1 takes %3 rolls, not %2: write %1(A, B)</source>
        <translation>%1 nimmt %3 Würfe, nicht %2: Schreiben Sie %1(A, B)</translation>
    </message>
    <message>
        <source>%1 takes one division, A / B: put a sum in brackets, as in %1((1d6+2) / 2)</source>
        <translation>%1 nimmt eine Division, A / B: Setzen Sie eine Summe in Klammern, etwa %1((1d6+2) / 2)</translation>
    </message>
    <message>
        <source>the divisor can be 0: its totals run from %1 to %2</source>
        <translation>der Teiler kann 0 sein: Seine Summen reichen von %1 bis %2</translation>
    </message>
    <message>
        <source>a group holds %1 to %2 members, separated by commas</source>
        <translation>eine Gruppe hat %1 bis %2 Glieder, durch Kommas getrennt</translation>
    </message>
    <message>
        <source>brackets, groups and functions nest at most %1 deep</source>
        <translation>Klammern, Gruppen und Funktionen lassen sich höchstens %1-fach verschachteln</translation>
    </message>
    <message>
        <source>cannot keep %1 of %2 members</source>
        <translation>von %2 Gliedern lassen sich nicht %1 behalten</translation>
    </message>
    <message>
        <source>cannot drop %1 of %2 members</source>
        <translation>von %2 Gliedern lassen sich nicht %1 streichen</translation>
    </message>
    <message>
        <source>keeping or dropping several members takes members whose totals span at most %1 values, unless all are written alike</source>
        <translation>mehrere Glieder behalten oder streichen geht nur mit Gliedern, deren Summen höchstens %1 Werte umfassen, außer alle sind gleich geschrieben</translation>
    </message>
    <message>
        <source>a group keeps or drops members, or counts them, not both</source>
        <translation>eine Gruppe behält oder streicht Glieder oder zählt sie, nicht beides</translation>
    </message>
    <message>
        <source>a roll that explodes has no highest total, so &apos;%1&apos; cannot take it</source>
        <translation>ein explodierender Wurf hat keine höchste Summe, daher kann &apos;%1&apos; ihn nicht nehmen</translation>
    </message>
    <message>
        <source>a total could lie beyond %1 either way</source>
        <translation>eine Summe könnte in einer der Richtungen jenseits von %1 liegen</translation>
    </message>
    <message>
        <source>a roll that explodes would be listed %1 totals past its own end: keep what is beside it or compared with it within %2</source>
        <translation>ein explodierender Wurf würde %1 Summen über sein eigenes Ende hinaus aufgelistet: halten Sie, was daneben steht oder damit verglichen wird, innerhalb von %2</translation>
    </message>
    <message>
        <source>missing &apos;+&apos;, &apos;-&apos; or &apos;*&apos;</source>
        <translation>&apos;+&apos;, &apos;-&apos; oder &apos;*&apos; fehlt</translation>
    </message>
    <message>
        <source>unexpected %1: expected &apos;+&apos;, &apos;-&apos; or &apos;*&apos;</source>
        <translation>%1 ist hier unerwartet: Erwartet wird &apos;+&apos;, &apos;-&apos; oder &apos;*&apos;</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is not a modifier of a group: a group takes only keep, drop and counts, such as kh1 or &gt;=8</source>
        <translation>&apos;%1&apos; ist kein Zusatz einer Gruppe: Eine Gruppe nimmt nur Behalten, Streichen und Zählungen, etwa kh1 oder &gt;=8</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is not a modifier: a term takes kh, kl, k, dh, dl, d, min, max, !, !!, !p, r, ro, a compare point such as &gt;=8, f, s, sa, sd, cs and cf</source>
        <translation>&apos;%1&apos; ist kein Zusatz: Ein Term nimmt kh, kl, k, dh, dl, d, min, max, !, !!, !p, r, ro, einen Vergleich wie &gt;=8, f, s, sa, sd, cs und cf</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is a second keep or drop: a term takes only one</source>
        <translation>&apos;%1&apos; ist ein zweites Behalten oder Streichen: Ein Term nimmt nur eines</translation>
    </message>
    <message>
        <source>the sides of a die cannot be followed by another &apos;d&apos;: type %1</source>
        <translation>auf die Seiten eines Würfels kann kein weiteres &apos;d&apos; folgen: Tippen Sie %1</translation>
    </message>
    <message>
        <source>a roll holds no comparison of its total: type the roll alone and set the Target</source>
        <translation>ein Wurf enthält keinen Vergleich seiner Summe: Tippen Sie den Wurf allein und setzen Sie das Ziel</translation>
    </message>
    <message>
        <source>one roll against another is the Head to head tab: type each roll in a box of its own</source>
        <translation>ein Wurf gegen einen anderen steht im Reiter Direktvergleich: Tippen Sie jeden Wurf in ein eigenes Feld</translation>
    </message>
    <message>
        <source>&apos;,&apos; separates the members of a group: type %1, or each roll in a box of its own</source>
        <translation>&apos;,&apos; trennt die Glieder einer Gruppe: Tippen Sie %1 oder jeden Wurf in ein eigenes Feld</translation>
    </message>
    <message>
        <source>missing &apos;%1&apos;</source>
        <translation>&apos;%1&apos; fehlt</translation>
    </message>
    <message>
        <source>unexpected %1: expected &apos;%2&apos;</source>
        <translation>unerwartetes %1: erwartet wird &apos;%2&apos;</translation>
    </message>
    <message>
        <source>unexpected %1: expected a name, such as atk</source>
        <translation>unerwartetes %1: erwartet wird ein Name wie atk</translation>
    </message>
    <message>
        <source>unexpected &apos;%1&apos;: expected &apos;%2&apos;</source>
        <translation>unerwartetes &apos;%1&apos;: erwartet wird &apos;%2&apos;</translation>
    </message>
    <message>
        <source>&apos;in&apos; follows let and its named throws, as in let x = 1d20 in x + 5</source>
        <translation>&apos;in&apos; folgt auf let und seine benannten Würfe, wie in let x = 1d20 in x + 5</translation>
    </message>
    <message>
        <source>&apos;%1&apos; belongs to if: if COND then A else B</source>
        <translation>&apos;%1&apos; gehört zu if: if BEDINGUNG then A else B</translation>
    </message>
    <message>
        <source>&apos;not&apos; goes before a condition, as in if not 1d20 = 1 then 1 else 0</source>
        <translation>&apos;not&apos; steht vor einer Bedingung, wie in if not 1d20 = 1 then 1 else 0</translation>
    </message>
    <message>
        <source>&apos;%1&apos; joins two conditions, as in if 1d6 = 6 %1 1d8 = 8 then 1 else 0</source>
        <translation>&apos;%1&apos; verbindet zwei Bedingungen, wie in if 1d6 = 6 %1 1d8 = 8 then 1 else 0</translation>
    </message>
    <message>
        <source>missing a name for the throw</source>
        <translation>dem Wurf fehlt ein Name</translation>
    </message>
    <message>
        <source>unexpected &apos;%1&apos;: expected a name, such as atk</source>
        <translation>unerwartetes &apos;%1&apos;: erwartet wird ein Name wie atk</translation>
    </message>
    <message>
        <source>&apos;%1&apos; cannot be a name: it is a keyword; names are letters, digits and _, such as atk</source>
        <translation>&apos;%1&apos; kann kein Name sein: es ist ein Schlüsselwort; Namen bestehen aus Buchstaben, Ziffern und _, wie atk</translation>
    </message>
    <message>
        <source>&apos;%1&apos; cannot be a name: it is a function; names are letters, digits and _, such as atk</source>
        <translation>&apos;%1&apos; kann kein Name sein: es ist eine Funktion; Namen bestehen aus Buchstaben, Ziffern und _, wie atk</translation>
    </message>
    <message>
        <source>&apos;%1&apos; cannot be a name: it reads as dice; names are letters, digits and _, such as atk</source>
        <translation>&apos;%1&apos; kann kein Name sein: es wird als Würfel gelesen; Namen bestehen aus Buchstaben, Ziffern und _, wie atk</translation>
    </message>
    <message>
        <source>&apos;%1&apos; cannot be a name: it reads as a modifier; names are letters, digits and _, such as atk</source>
        <translation>&apos;%1&apos; kann kein Name sein: es wird als Modifikator gelesen; Namen bestehen aus Buchstaben, Ziffern und _, wie atk</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is not a name: give it with let %1 = ... in ...</source>
        <translation>&apos;%1&apos; ist kein Name: Vergeben Sie ihn mit let %1 = ... in ...</translation>
    </message>
    <message>
        <source>missing &apos;&quot;&apos; at the end of the label</source>
        <translation>am Ende der Beschriftung fehlt &apos;&quot;&apos;</translation>
    </message>
    <message>
        <source>a label holds 1 to %1 characters</source>
        <translation>eine Beschriftung hat 1 bis %1 Zeichen</translation>
    </message>
    <message>
        <source>character %1 does not print: a label holds printable text</source>
        <translation>Zeichen %1 ist nicht druckbar: eine Beschriftung enthält druckbaren Text</translation>
    </message>
    <message>
        <source>a roll has at most %1 labels</source>
        <translation>ein Wurf hat höchstens %1 Beschriftungen</translation>
    </message>
    <message>
        <source>a roll gives labels or totals, not both: make every result a label, or none</source>
        <translation>ein Wurf ergibt Beschriftungen oder Summen, nicht beides: Machen Sie jedes Ergebnis zu einer Beschriftung oder keines</translation>
    </message>
    <message>
        <source>a label is a result only: it cannot be added, compared, named or thrown</source>
        <translation>eine Beschriftung ist nur ein Ergebnis: Sie kann nicht addiert, verglichen, benannt oder geworfen werden</translation>
    </message>
    <message>
        <source>&apos;%1&apos; takes a comparison of two rolls, such as 2d6 &gt;= 8</source>
        <translation>&apos;%1&apos; verlangt einen Vergleich zweier Würfe, wie 2d6 &gt;= 8</translation>
    </message>
    <message>
        <source>&apos;%1&apos; reads a pool: dice such as 4d6 without keep or count, Nd(A), a group {A, B}, or a name given one</source>
        <translation>&apos;%1&apos; liest einen Pool: Würfel wie 4d6 ohne Behalten oder Zählen, Nd(A), eine Gruppe {A, B} oder einen Namen dafür</translation>
    </message>
    <message>
        <source>a pool of %1 dice has no die at place %2 from the highest: nth takes 1 to %1</source>
        <translation>ein Pool aus %1 Würfeln hat keinen Würfel an Stelle %2 von oben: nth nimmt 1 bis %1</translation>
    </message>
    <message>
        <source>a set of %1 dice cannot show in a pool of %2 dice: sets takes 1 to %2</source>
        <translation>ein Satz aus %1 Würfeln kann in einem Pool aus %2 Würfeln nicht fallen: sets nimmt 1 bis %2</translation>
    </message>
    <message>
        <source>a pool of unlike members would be read in %1 ways: members written alike count once, so give fewer unlike ones</source>
        <translation>ein Pool ungleicher Glieder würde auf %1 Arten gelesen: Gleich geschriebene Glieder zählen einmal, geben Sie also weniger ungleiche an</translation>
    </message>
    <message>
        <source>what follows &apos;in&apos; would be read %1 times, once per throw the names stand for: at most %2; read a large pool with its functions, without naming it</source>
        <translation>was auf &apos;in&apos; folgt, würde %1-mal gelesen, einmal je Wurf, für den die Namen stehen: höchstens %2; lesen Sie einen großen Pool mit seinen Funktionen, ohne ihn zu benennen</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is not a modifier of Nd(A): it takes keep, drop, r, ro and counts, such as kh1 or &gt;=8</source>
        <translation>&apos;%1&apos; ist kein Modifikator von Nd(A): es nimmt Behalten, Weglassen, r, ro und Zählen, wie kh1 oder &gt;=8</translation>
    </message>
</context>
<context>
    <name>window::PictureExport</name>
    <message>
        <source>the picture could not be written</source>
        <translation>das Bild ließ sich nicht schreiben</translation>
    </message>
    <message>
        <source>Chart not saved</source>
        <translation>Diagramm nicht gespeichert</translation>
    </message>
    <message>
        <source>The chart could not be saved to %1:
%2</source>
        <translation>Das Diagramm ließ sich nicht unter %1 speichern:
%2</translation>
    </message>
    <message>
        <source>SVG image (*.svg)</source>
        <translation>SVG-Bild (*.svg)</translation>
    </message>
    <message>
        <source>PNG image (*.png)</source>
        <translation>PNG-Bild (*.png)</translation>
    </message>
    <message>
        <source>Save Chart</source>
        <translation>Diagramm speichern</translation>
    </message>
</context>
<context>
    <name>window::Views</name>
    <message>
        <source>at least</source>
        <translation>mindestens</translation>
    </message>
    <message>
        <source>at most</source>
        <translation>höchstens</translation>
    </message>
    <message>
        <source>exactly</source>
        <translation>genau</translation>
    </message>
    <message>
        <source>View:</source>
        <translation>Ansicht:</translation>
    </message>
    <message>
        <source>&amp;Exactly</source>
        <translation>&amp;Genau</translation>
    </message>
    <message>
        <source>At &amp;least</source>
        <translation>&amp;Mindestens</translation>
    </message>
    <message>
        <source>At &amp;most</source>
        <translation>&amp;Höchstens</translation>
    </message>
</context>
<context>
    <name>window::frmMain</name>
    <message>
        <source>Number of Dice Too High!</source>
        <translation>Anzahl Würfel außerhalb des Bereichs!</translation>
    </message>
    <message>
        <source>Please enter a different value. (1-20)</source>
        <translation>Bitte geben Sie einen anderen Wert ein. (1–20)</translation>
    </message>
    <message>
        <source>0.0% indicates probability less than  0.000000001%</source>
        <extracomment>Numbers keep their decimal point in every language.</extracomment>
        <translation>0.0% bedeutet eine Wahrscheinlichkeit unter 0.000000001%</translation>
    </message>
    <message>
        <source>Number of Dice</source>
        <translation>Anzahl Würfel</translation>
    </message>
    <message>
        <source>Number of Sides</source>
        <translation>Anzahl Seiten</translation>
    </message>
    <message>
        <source>Roll Modifier</source>
        <translation>Modifikator</translation>
    </message>
    <message>
        <source>Average Throw</source>
        <translation>Durchschnitt</translation>
    </message>
    <message>
        <source>Prob. &gt;=</source>
        <extracomment>Beside a narrow list: no longer than the English, or the whole window grows.</extracomment>
        <translation>Wkt. &gt;=</translation>
    </message>
    <message>
        <source>Prob. &lt;=</source>
        <translation>Wkt. &lt;=</translation>
    </message>
    <message>
        <source>Probability roll is  &gt;= and &lt;=</source>
        <extracomment>Shown until the first Compute replaces it with the range sentence.</extracomment>
        <translation>Chance auf einen Wurf von  &gt;= bis &lt;=</translation>
    </message>
    <message>
        <source>Compute</source>
        <translation>Berechnen</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>There was an unexpected error. Change values and try again.</source>
        <translation>Ein unerwarteter Fehler ist aufgetreten. Ändern Sie die Werte und versuchen Sie es erneut.</translation>
    </message>
    <message>
        <source>Unexpected Error!</source>
        <translation>Unerwarteter Fehler!</translation>
    </message>
    <message>
        <source>Please enter a numeric value.</source>
        <translation>Bitte geben Sie eine Zahl ein.</translation>
    </message>
    <message>
        <source>Non-numeric Number of Dice!</source>
        <translation>Anzahl Würfel ist keine Zahl!</translation>
    </message>
    <message>
        <source>Non-numeric Roll Modifier!</source>
        <translation>Modifikator ist keine Zahl!</translation>
    </message>
    <message>
        <source>Please enter a smaller value. (-32,768 to 32,767)</source>
        <extracomment>The modifier&apos;s range; write the numbers so that they cannot be read as decimals.</extracomment>
        <translation>Bitte geben Sie einen kleineren Wert ein. (-32768 bis 32767)</translation>
    </message>
    <message>
        <source>Modifier value to big or too small</source>
        <translation>Modifikator zu groß oder zu klein</translation>
    </message>
    <message>
        <source>Number of dice is limited to 10 for 100-sided rolls.</source>
        <translation>Mit 100-seitigen Würfeln sind höchstens 10 Würfel möglich.</translation>
    </message>
    <message>
        <source>Please enter another a smaller value.</source>
        <translation>Bitte geben Sie einen kleineren Wert ein.</translation>
    </message>
    <message>
        <source>D100 Roll Limit!</source>
        <translation>Grenze für W100-Würfe!</translation>
    </message>
    <message>
        <source>Probability roll is between %1 and %2.</source>
        <translation>Chance auf einen Wurf von %1 bis %2.</translation>
    </message>
    <message>
        <source>Probability of each total</source>
        <translation>Wahrscheinlichkeit jeder Summe</translation>
    </message>
</context>
</TS>
