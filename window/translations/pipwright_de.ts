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
</context>
<context>
    <name>window::FormMenus</name>
    <message>
        <source>&amp;Edit</source>
        <translation>&amp;Bearbeiten</translation>
    </message>
    <message>
        <source>&amp;Copy Table</source>
        <translation>Tabelle &amp;kopieren</translation>
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
        <translation>Wkt. &gt;=</translation>
    </message>
    <message>
        <source>Prob. &lt;=</source>
        <translation>Wkt. &lt;=</translation>
    </message>
    <message>
        <source>Probability roll is  &gt;= and &lt;=</source>
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
