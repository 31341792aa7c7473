[Daten]
Name=Bogen
Kartentyp=0
[Layout]
Name=100
[Bogen]
Name=Letter 3x4
PapierBreite=215.9
PapierHoehe=279.4
KarteBreite=63.5
KarteHoehe=50.8
Spalten=3
Zeilen=4
RandLinks=9.525
RandOben=19.05
AbstandX=66.675
AbstandY=63.5
