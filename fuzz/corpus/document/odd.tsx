[daten]
NAME=x
Beruf0=a
Beruf2=c
MitRueckseite=1
BackText1_0=r
Kartentyp=7
Logodatei=/nonexistent.bmp
[Font]
Name=Liberation Sans
[Linien]
Anzeigen=0
