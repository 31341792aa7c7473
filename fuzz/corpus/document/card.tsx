[Daten]
Name = "Erika Mustermann"
Titel=Dr.
Adresse0=Hauptstr. 1
Adresse1=12345 Musterstadt
Kartentyp=1
[Layout]
Name=100
