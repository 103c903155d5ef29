<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="pl_PL">
<context>
    <name>Dialogs</name>
    <message>
        <source>Taons files (*.lis1)</source>
        <translation>Pliki taonów (*.lis1)</translation>
    </message>
    <message>
        <source>Save changes to %1?</source>
        <translation>Zapisać zmiany w %1?</translation>
    </message>
    <message>
        <source>Export Image</source>
        <translation>Eksport obrazu</translation>
    </message>
    <message>
        <source>PNG images (*.png)</source>
        <translation>Obrazy PNG (*.png)</translation>
    </message>
    <message>
        <source>Record Frames</source>
        <translation>Nagrywanie klatek</translation>
    </message>
</context>
<context>
    <name>Errors</name>
    <message>
        <source>File not found</source>
        <translation>Nie znaleziono pliku</translation>
    </message>
    <message>
        <source>File access denied</source>
        <translation>Odmowa dostępu do pliku</translation>
    </message>
    <message>
        <source>Read beyond end of file</source>
        <translation>Odczyt poza końcem pliku</translation>
    </message>
    <message>
        <source>Disk full</source>
        <translation>Dysk jest pełny</translation>
    </message>
    <message>
        <source>Invalid floating point operation</source>
        <translation>Niedozwolona operacja zmiennoprzecinkowa</translation>
    </message>
    <message>
        <source>Floating point division by zero</source>
        <translation>Zmiennoprzecinkowe dzielenie przez zero</translation>
    </message>
    <message>
        <source>Floating point overflow</source>
        <translation>Nadmiar zmiennoprzecinkowy</translation>
    </message>
    <message>
        <source>Text conversion not available</source>
        <translation>Konwersja tekstu jest niedostępna</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is not a valid floating point value</source>
        <translation>„%1” nie jest poprawną liczbą zmiennoprzecinkową</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is not a valid integer value</source>
        <translation>„%1” nie jest poprawną liczbą całkowitą</translation>
    </message>
    <message>
        <source>I/O error %1</source>
        <translation>Błąd wejścia-wyjścia %1</translation>
    </message>
    <message>
        <source>Unknown error</source>
        <translation>Nieznany błąd</translation>
    </message>
    <message>
        <source>File too large</source>
        <translation>Plik jest za duży</translation>
    </message>
    <message>
        <source>The commentary %1 is not a regular file.</source>
        <translation>Komentarz %1 nie jest zwykłym plikiem.</translation>
    </message>
    <message>
        <source>The commentary %1 cannot be read: %2.</source>
        <translation>Nie można odczytać komentarza %1: %2.</translation>
    </message>
    <message>
        <source>The commentary %1 is %2, more than the %3 a commentary may have.</source>
        <translation>Komentarz %1 ma %2, a komentarz może mieć najwyżej %3.</translation>
    </message>
    <message>
        <source>The commentary %1 is more than the %2 a commentary may have.</source>
        <translation>Komentarz %1 przekracza %2 — tyle najwyżej może mieć komentarz.</translation>
    </message>
    <message>
        <source>%1 bytes</source>
        <translation>%1 B</translation>
    </message>
    <message>
        <source>%1 KB</source>
        <translation>%1 KB</translation>
    </message>
    <message>
        <source>%1 MB</source>
        <translation>%1 MB</translation>
    </message>
</context>
<context>
    <name>FrameRecorder</name>
    <message>
        <source>%1: %2. Recording stopped.</source>
        <translation>%1: %2. Nagrywanie zatrzymane.</translation>
    </message>
</context>
<context>
    <name>HelpViewer</name>
    <message>
        <source>Zentrova Help</source>
        <translation>Pomoc Zentrova</translation>
    </message>
    <message>
        <source>Contents</source>
        <translation>Spis treści</translation>
    </message>
    <message>
        <source>Back</source>
        <translation>Wstecz</translation>
    </message>
    <message>
        <source>Forward</source>
        <translation>Dalej</translation>
    </message>
    <message>
        <source>The help file &quot;%1&quot; was not found.</source>
        <translation>Nie znaleziono pliku pomocy „%1”.</translation>
    </message>
    <message>
        <source>It was looked for in these folders:</source>
        <translation>Szukano go w tych folderach:</translation>
    </message>
    <message>
        <source>Reinstalling the program puts the manuals back in place.</source>
        <translation>Ponowna instalacja programu przywraca podręczniki na miejsce.</translation>
    </message>
</context>
<context>
    <name>Language</name>
    <message>
        <source>Language</source>
        <translation>Język</translation>
    </message>
    <message>
        <source>Zentrova speaks this language from its next start.</source>
        <translation>Zentrova będzie mówić w tym języku od następnego uruchomienia.</translation>
    </message>
    <message>
        <source>The choice of language cannot be kept in %1.</source>
        <translation>Nie można zachować wyboru języka w %1.</translation>
    </message>
</context>
<context>
    <name>MainFiles</name>
    <message>
        <source>the easy square</source>
        <translation>łatwy kwadrat</translation>
    </message>
</context>
<context>
    <name>MainMarks</name>
    <message>
        <source>Recording</source>
        <translation>Nagrywanie</translation>
    </message>
    <message>
        <source>Press F5 for the easy square, F3 to open an example, Enter to run, F1 for the manual</source>
        <translation>F5 – łatwy kwadrat, F3 – otwarcie przykładu, Enter – start, F1 – podręcznik</translation>
    </message>
    <message>
        <source>odd</source>
        <translation>nieparzyste</translation>
    </message>
    <message>
        <source>even</source>
        <translation>parzyste</translation>
    </message>
    <message>
        <source>%1 (%2)   position %3; %4; %5   velocity %6; %7; %8   speed %9   from the centre %10</source>
        <translation>%1 (%2)   położenie %3; %4; %5   prędkość %6; %7; %8   szybkość %9   od środka %10</translation>
    </message>
    <message>
        <source>%1 to %2: distance %3</source>
        <translation>%1 – %2: odległość %3</translation>
    </message>
    <message>
        <source>%1 to %2: distance %3   %2 to %4: distance %5   angle at %2: %6°</source>
        <translation>%1 – %2: odległość %3   %2 – %4: odległość %5   kąt przy %2: %6°</translation>
    </message>
    <message>
        <source>Step %1</source>
        <translation>Krok %1</translation>
    </message>
    <message>
        <source>Time %1</source>
        <translation>Czas %1</translation>
    </message>
    <message>
        <source>%1 steps/s</source>
        <translation>%1 kroków/s</translation>
    </message>
</context>
<context>
    <name>MonitorPlots</name>
    <message>
        <source>drift</source>
        <translation>dryf</translation>
    </message>
    <message>
        <source>Kinetic energy</source>
        <translation>Energia kinetyczna</translation>
    </message>
    <message>
        <source>Energy</source>
        <translation>Energia</translation>
    </message>
    <message>
        <source>Relative energy drift (E − E₀) / |E₀|</source>
        <translation>Względny dryf energii (E − E₀) / |E₀|</translation>
    </message>
    <message>
        <source>Radius</source>
        <translation>Promień</translation>
    </message>
    <message>
        <source>Minimum distance</source>
        <translation>Najmniejsza odległość</translation>
    </message>
    <message>
        <source>time</source>
        <translation>czas</translation>
    </message>
</context>
<context>
    <name>Observables</name>
    <message>
        <source>Step</source>
        <translation>Krok</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>Czas</translation>
    </message>
    <message>
        <source>Kinetic energy</source>
        <translation>Energia kinetyczna</translation>
    </message>
    <message>
        <source>Kinetic energy, PE</source>
        <translation>Energia kinetyczna, PE</translation>
    </message>
    <message>
        <source>Kinetic energy, PES1</source>
        <translation>Energia kinetyczna, PES1</translation>
    </message>
    <message>
        <source>Kinetic energy, PES2</source>
        <translation>Energia kinetyczna, PES2</translation>
    </message>
    <message>
        <source>Centre X</source>
        <translation>Środek X</translation>
    </message>
    <message>
        <source>Centre Y</source>
        <translation>Środek Y</translation>
    </message>
    <message>
        <source>Centre Z</source>
        <translation>Środek Z</translation>
    </message>
    <message>
        <source>Radius</source>
        <translation>Promień</translation>
    </message>
    <message>
        <source>Minimum distance</source>
        <translation>Najmniejsza odległość</translation>
    </message>
    <message>
        <source>Closest pair, i</source>
        <translation>Najbliższa para, i</translation>
    </message>
    <message>
        <source>Closest pair, k</source>
        <translation>Najbliższa para, k</translation>
    </message>
    <message>
        <source>Potential energy</source>
        <translation>Energia potencjalna</translation>
    </message>
    <message>
        <source>Total energy</source>
        <translation>Energia całkowita</translation>
    </message>
    <message>
        <source>Energy conserved</source>
        <translation>Energia zachowana</translation>
    </message>
    <message>
        <source>Momentum X</source>
        <translation>Pęd X</translation>
    </message>
    <message>
        <source>Momentum Y</source>
        <translation>Pęd Y</translation>
    </message>
    <message>
        <source>Momentum Z</source>
        <translation>Pęd Z</translation>
    </message>
    <message>
        <source>Angular momentum X</source>
        <translation>Moment pędu X</translation>
    </message>
    <message>
        <source>Angular momentum Y</source>
        <translation>Moment pędu Y</translation>
    </message>
    <message>
        <source>Angular momentum Z</source>
        <translation>Moment pędu Z</translation>
    </message>
    <message>
        <source>Present particles</source>
        <translation>Obecne cząstki</translation>
    </message>
    <message>
        <source>total</source>
        <translation>całkowita</translation>
    </message>
    <message>
        <source>radius</source>
        <translation>promień</translation>
    </message>
    <message>
        <source>closest pair</source>
        <translation>najbliższa para</translation>
    </message>
    <message>
        <source>potential</source>
        <translation>potencjalna</translation>
    </message>
    <message>
        <source>the pull of PE is off</source>
        <translation>działanie PE jest wyłączone</translation>
    </message>
    <message>
        <source>the pull of PES1 is off</source>
        <translation>działanie PES1 jest wyłączone</translation>
    </message>
    <message>
        <source>the pull of PES2 is off</source>
        <translation>działanie PES2 jest wyłączone</translation>
    </message>
    <message>
        <source>Cool is on</source>
        <translation>chłodzenie jest włączone</translation>
    </message>
    <message>
        <source>Potential energy, PE</source>
        <translation>Energia potencjalna, PE</translation>
    </message>
    <message>
        <source>Potential energy, PES1</source>
        <translation>Energia potencjalna, PES1</translation>
    </message>
    <message>
        <source>Potential energy, PES2</source>
        <translation>Energia potencjalna, PES2</translation>
    </message>
    <message>
        <source>Work of the unequal pulls</source>
        <translation>Praca niesymetrycznych sił</translation>
    </message>
    <message>
        <source>Momentum conserved</source>
        <translation>Pęd zachowany</translation>
    </message>
    <message>
        <source>Temperature</source>
        <translation>Temperatura</translation>
    </message>
    <message>
        <source>Largest force</source>
        <translation>Największa siła</translation>
    </message>
    <message>
        <source>Largest step</source>
        <translation>Największe przesunięcie</translation>
    </message>
    <message>
        <source>particles of several groups pull each other</source>
        <translation>cząstki kilku grup działają na siebie</translation>
    </message>
    <message>
        <source>Blockade holds a particle that pulls others</source>
        <translation>blokada trzyma cząstkę, która działa na inne</translation>
    </message>
</context>
<context>
    <name>TAboutBox</name>
    <message>
        <source>About</source>
        <translation>O programie</translation>
    </message>
    <message>
        <source>Written by the Zentrova developers</source>
        <translation>Napisana przez twórców Zentrovy</translation>
    </message>
    <message>
        <source>Manuals: Help menu or F1</source>
        <translation>Podręczniki: menu Pomoc lub F1</translation>
    </message>
    <message>
        <source>Pictures and example sets by the same team</source>
        <translation>Obrazy i przykładowe zestawy od tego zespołu</translation>
    </message>
    <message>
        <source>Example sets: share/zentrova/examples</source>
        <translation>Przykładowe zestawy: share/zentrova/examples</translation>
    </message>
    <message>
        <source>Thanks to all who try it and report faults</source>
        <translation>Dzięki wszystkim, którzy zgłaszają błędy</translation>
    </message>
    <message>
        <source>Version</source>
        <translation>Wersja</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Version %1</source>
        <translation>Wersja %1</translation>
    </message>
    <message>
        <source>60 interacting taons and gravons in three groups</source>
        <translation>60 oddziałujących taonów i grawonów, 3 grupy</translation>
    </message>
</context>
<context>
    <name>TEditDlg</name>
    <message>
        <source> Editing of gravon&apos;s or taon&apos;s values</source>
        <translation> Edycja wartości grawonu lub taonu</translation>
    </message>
    <message>
        <source>for PE</source>
        <translation>PE</translation>
    </message>
    <message>
        <source>for PES1</source>
        <translation>PES1</translation>
    </message>
    <message>
        <source>for PES2</source>
        <translation>PES2</translation>
    </message>
    <message>
        <source>Gravon or Taon</source>
        <translation>Grawon/taon</translation>
    </message>
    <message>
        <source>Coordinats</source>
        <translation>Położenie</translation>
    </message>
    <message>
        <source>VeloCity</source>
        <translation>Prędkość</translation>
    </message>
    <message>
        <source>There is Gravon or Taon</source>
        <translation>Grawon lub taon jest obecny</translation>
    </message>
    <message>
        <source>&amp;Yes</source>
        <translation>&amp;Tak</translation>
    </message>
    <message>
        <source>Save As</source>
        <translation>Zapisz jako</translation>
    </message>
    <message>
        <source>FileName</source>
        <translation>Plik</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Anuluj</translation>
    </message>
    <message>
        <source>S e r i a l   n u m b e r   o f   g r a v o n s   o r   t a o n s</source>
        <translation>N u m e r y   g r a w o n ó w   l u b   t a o n ó w</translation>
    </message>
    <message>
        <source>Calculation of distance 1</source>
        <translation>Obliczanie odległości 1</translation>
    </message>
    <message>
        <source>Result 1</source>
        <translation>Wynik 1</translation>
    </message>
    <message>
        <source>Calculate 1</source>
        <translation>Oblicz 1</translation>
    </message>
    <message>
        <source>Reset 1</source>
        <translation>Wyzeruj 1</translation>
    </message>
    <message>
        <source>Calculation of distance 2</source>
        <translation>Obliczanie odległości 2</translation>
    </message>
    <message>
        <source>Result 2</source>
        <translation>Wynik 2</translation>
    </message>
    <message>
        <source>Calculate 2</source>
        <translation>Oblicz 2</translation>
    </message>
    <message>
        <source>Reset 2</source>
        <translation>Wyzeruj 2</translation>
    </message>
    <message>
        <source>Calculation of distance 3</source>
        <translation>Obliczanie odległości 3</translation>
    </message>
    <message>
        <source>Result 3</source>
        <translation>Wynik 3</translation>
    </message>
    <message>
        <source>Calculate 3</source>
        <translation>Oblicz 3</translation>
    </message>
    <message>
        <source>Reset 3</source>
        <translation>Wyzeruj 3</translation>
    </message>
    <message>
        <source>Calculation of distance 4</source>
        <translation>Obliczanie odległości 4</translation>
    </message>
    <message>
        <source>Result 4</source>
        <translation>Wynik 4</translation>
    </message>
    <message>
        <source>Calculate 4</source>
        <translation>Oblicz 4</translation>
    </message>
    <message>
        <source>Reset 4</source>
        <translation>Wyzeruj 4</translation>
    </message>
    <message>
        <source>Velo</source>
        <translation>Prędk.</translation>
    </message>
    <message>
        <source>Taons</source>
        <translation>Taony</translation>
    </message>
    <message>
        <source>Gravons</source>
        <translation>Grawony</translation>
    </message>
    <message>
        <source>Edit of Particle %1</source>
        <translation>Edycja cząstki %1</translation>
    </message>
    <message>
        <source>Edit of Parameters</source>
        <translation>Edycja parametrów</translation>
    </message>
</context>
<context>
    <name>TMainForm</name>
    <message>
        <source>Listing</source>
        <translation>Lista</translation>
    </message>
    <message>
        <source>Commentary</source>
        <translation>Komentarz</translation>
    </message>
    <message>
        <source>No Comment</source>
        <translation>Brak komentarza</translation>
    </message>
    <message>
        <source>File Name</source>
        <translation>Nazwa pliku</translation>
    </message>
    <message>
        <source>Gravoscope</source>
        <translation>Grawoskop</translation>
    </message>
    <message>
        <source>Taoscope</source>
        <translation>Taoskop</translation>
    </message>
    <message>
        <source>Zoom out (the Amplitude bar sets the step)</source>
        <translation>Pomniejsz (krok ustawia suwak Amplituda)</translation>
    </message>
    <message>
        <source>Turn about the horizontal axis (Theta down)</source>
        <translation>Obrót wokół osi poziomej (Theta w dół)</translation>
    </message>
    <message>
        <source>Turn about the vertical axis (Psi down)</source>
        <translation>Obrót wokół osi pionowej (Psi w dół)</translation>
    </message>
    <message>
        <source>Turn about the axis towards you (Phi up)</source>
        <translation>Obrót wokół osi skierowanej ku tobie (Phi w górę)</translation>
    </message>
    <message>
        <source>Stop turning</source>
        <translation>Zatrzymaj obrót</translation>
    </message>
    <message>
        <source>Turn about the axis towards you (Phi down)</source>
        <translation>Obrót wokół osi skierowanej ku tobie (Phi w dół)</translation>
    </message>
    <message>
        <source>Zoom in (the Amplitude bar sets the step)</source>
        <translation>Powiększ (krok ustawia suwak Amplituda)</translation>
    </message>
    <message>
        <source>Turn about the horizontal axis (Theta up)</source>
        <translation>Obrót wokół osi poziomej (Theta w górę)</translation>
    </message>
    <message>
        <source>Turn about the vertical axis (Psi up)</source>
        <translation>Obrót wokół osi pionowej (Psi w górę)</translation>
    </message>
    <message>
        <source>Amplitude</source>
        <translation>Amplituda</translation>
    </message>
    <message>
        <source>Go</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>Lamp: bright green while no run goes</source>
        <translation>Lampka: jasnozielona, gdy obliczenia stoją</translation>
    </message>
    <message>
        <source>Lamp: red while a run goes</source>
        <translation>Lampka: czerwona, gdy trwają obliczenia</translation>
    </message>
    <message>
        <source>Time:</source>
        <translation>Czas:</translation>
    </message>
    <message>
        <source>Make null of velocity</source>
        <translation>Wyzeruj prędkości</translation>
    </message>
    <message>
        <source>for PE</source>
        <translation>PE</translation>
    </message>
    <message>
        <source>for PES1</source>
        <translation>PES1</translation>
    </message>
    <message>
        <source>Cool</source>
        <translation>Chłodzenie</translation>
    </message>
    <message>
        <source>Show Listing</source>
        <translation>Lista</translation>
    </message>
    <message>
        <source>PE - out</source>
        <translation>PE - wył.</translation>
    </message>
    <message>
        <source>PES1-out</source>
        <translation>PES1-wył.</translation>
    </message>
    <message>
        <source>PES2-out</source>
        <translation>PES2-wył.</translation>
    </message>
    <message>
        <source>*  Blockade X, Y, Z in positions - 20, 40, 60  *</source>
        <translation>*  Blokada X, Y, Z w pozycjach 20, 40, 60  *</translation>
    </message>
    <message>
        <source>File</source>
        <translation>Plik</translation>
    </message>
    <message>
        <source>Edit</source>
        <translation>Edycja</translation>
    </message>
    <message>
        <source>View</source>
        <translation>Widok</translation>
    </message>
    <message>
        <source>Show Images</source>
        <translation>Pokaż</translation>
    </message>
    <message>
        <source>Point Size</source>
        <translation>Wielkość punktów</translation>
    </message>
    <message>
        <source>Run</source>
        <translation>Obliczenia</translation>
    </message>
    <message>
        <source>Speed</source>
        <translation>Szybkość</translation>
    </message>
    <message>
        <source>Manager</source>
        <translation>Zarządzanie</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Pomoc</translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>Cofnij</translation>
    </message>
    <message>
        <source>Redo</source>
        <translation>Ponów</translation>
    </message>
    <message>
        <source>Fit to View</source>
        <translation>Dopasuj do widoku</translation>
    </message>
    <message>
        <source>Keep in View</source>
        <translation>Utrzymuj w widoku</translation>
    </message>
    <message>
        <source>Trails</source>
        <translation>Ślady</translation>
    </message>
    <message>
        <source>Export Image...</source>
        <translation>Eksportuj obraz...</translation>
    </message>
    <message>
        <source>Record Frames...</source>
        <translation>Nagrywaj klatki...</translation>
    </message>
    <message>
        <source>Monitor</source>
        <translation>Monitor</translation>
    </message>
    <message>
        <source>Go / Stop	Enter</source>
        <translation>Start / Stop	Enter</translation>
    </message>
    <message>
        <source>Step Once</source>
        <translation>Jeden krok</translation>
    </message>
    <message>
        <source>Full</source>
        <translation>Pełna</translation>
    </message>
    <message>
        <source>100 steps/s</source>
        <translation>100 kroków/s</translation>
    </message>
    <message>
        <source>10 steps/s</source>
        <translation>10 kroków/s</translation>
    </message>
    <message>
        <source>New</source>
        <translation>Nowy</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Otwórz</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Zapisz</translation>
    </message>
    <message>
        <source>Save As ...</source>
        <translation>Zapisz jako ...</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Zakończ</translation>
    </message>
    <message>
        <source>Taons</source>
        <translation>Taony</translation>
    </message>
    <message>
        <source>Spiral</source>
        <translation>Spirala</translation>
    </message>
    <message>
        <source>ShowSpin</source>
        <translation>Obracaj spiralę</translation>
    </message>
    <message>
        <source>Show Numbers of Points</source>
        <translation>Pokazuj numery punktów</translation>
    </message>
    <message>
        <source>Move to center</source>
        <translation>Przesuń do środka</translation>
    </message>
    <message>
        <source>Left</source>
        <translation>W lewo</translation>
    </message>
    <message>
        <source>Right</source>
        <translation>W prawo</translation>
    </message>
    <message>
        <source>Up</source>
        <translation>W górę</translation>
    </message>
    <message>
        <source>Down</source>
        <translation>W dół</translation>
    </message>
    <message>
        <source>English Help</source>
        <translation>Pomoc po angielsku</translation>
    </message>
    <message>
        <source>Russian Help</source>
        <translation>Pomoc po rosyjsku</translation>
    </message>
    <message>
        <source>Poland Help</source>
        <translation>Pomoc po polsku</translation>
    </message>
    <message>
        <source>About</source>
        <translation>O programie</translation>
    </message>
    <message>
        <source>Confirm</source>
        <translation>Potwierdzenie</translation>
    </message>
    <message>
        <source>The text was changed. Save now?</source>
        <translation>Tekst został zmieniony. Zapisać go teraz?</translation>
    </message>
    <message>
        <source>Yes Null</source>
        <translation>Zerowe</translation>
    </message>
    <message>
        <source>Velocity Reset</source>
        <translation>Zerowanie prędkości</translation>
    </message>
    <message>
        <source>The start File not found.</source>
        <translation>Nie znaleziono pliku startowego.</translation>
    </message>
    <message>
        <source>Run of 1 step</source>
        <translation>Przebieg (1 krok)</translation>
    </message>
    <message numerus="yes">
        <source>Run of %1 steps</source>
        <translation>
            <numerusform>Przebieg (%1 krok)</numerusform>
            <numerusform>Przebieg (%1 kroki)</numerusform>
            <numerusform>Przebieg (%1 kroków)</numerusform>
        </translation>
    </message>
    <message>
        <source>Single Step</source>
        <translation>Pojedynczy krok</translation>
    </message>
    <message numerus="yes">
        <source>%1 Single Steps</source>
        <translation>
            <numerusform>%1 pojedynczy krok</numerusform>
            <numerusform>%1 pojedyncze kroki</numerusform>
            <numerusform>%1 pojedynczych kroków</numerusform>
        </translation>
    </message>
    <message>
        <source>Undo %1</source>
        <translation>Cofnij: %1</translation>
    </message>
    <message>
        <source>Redo %1</source>
        <translation>Ponów: %1</translation>
    </message>
    <message>
        <source>Change of %1</source>
        <translation>Zmiana %1</translation>
    </message>
    <message>
        <source>step %1   time %2</source>
        <translation>krok %1   czas %2</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>The easy square</source>
        <translation>Łatwy kwadrat</translation>
    </message>
    <message>
        <source>Standard Views</source>
        <translation>Widoki standardowe</translation>
    </message>
    <message>
        <source>Front (x-y)</source>
        <translation>Przód (x-y)</translation>
    </message>
    <message>
        <source>Top (x-z)</source>
        <translation>Góra (x-z)</translation>
    </message>
    <message>
        <source>Side (y-z)</source>
        <translation>Bok (y-z)</translation>
    </message>
    <message>
        <source>Axes Triad</source>
        <translation>Osie współrzędnych</translation>
    </message>
    <message>
        <source>Scale Bar</source>
        <translation>Podziałka</translation>
    </message>
    <message>
        <source>Colour-Blind-Safe Palette</source>
        <translation>Paleta dla daltonistów</translation>
    </message>
    <message>
        <source>Keyboard</source>
        <translation>Klawiatura</translation>
    </message>
    <message>
        <source>Enter</source>
        <translation>Enter</translation>
    </message>
    <message>
        <source>Go, or Stop during a run</source>
        <translation>Start, w trakcie obliczeń Stop</translation>
    </message>
    <message>
        <source>Esc</source>
        <translation>Esc</translation>
    </message>
    <message>
        <source>Stop a run</source>
        <translation>Zatrzymuje obliczenia</translation>
    </message>
    <message>
        <source>Click</source>
        <translation>Kliknięcie</translation>
    </message>
    <message>
        <source>Pick a particle; on empty space, clear the pick</source>
        <translation>Wybiera cząstkę; na pustym miejscu kasuje wybór</translation>
    </message>
    <message>
        <source>Shift+Click</source>
        <translation>Shift+kliknięcie</translation>
    </message>
    <message>
        <source>Pick a second particle (distance) and a third (angle)</source>
        <translation>Wybiera drugą cząstkę (odległość) i trzecią (kąt)</translation>
    </message>
    <message>
        <source>Left drag</source>
        <translation>Przeciąganie lewym przyciskiem</translation>
    </message>
    <message>
        <source>Turn the view</source>
        <translation>Obraca widok</translation>
    </message>
    <message>
        <source>Right drag</source>
        <translation>Przeciąganie prawym przyciskiem</translation>
    </message>
    <message>
        <source>Turn about the view&apos;s axis and zoom</source>
        <translation>Obraca wokół osi widoku i skaluje</translation>
    </message>
    <message>
        <source>Wheel</source>
        <translation>Kółko myszy</translation>
    </message>
    <message>
        <source>Zoom</source>
        <translation>Skaluje</translation>
    </message>
    <message>
        <source>Double click on the listing</source>
        <translation>Dwukrotne kliknięcie listy</translation>
    </message>
    <message>
        <source>Positions or velocities</source>
        <translation>Położenia lub prędkości</translation>
    </message>
    <message>
        <source>%1 stays %2</source>
        <translation>%1 pozostaje %2</translation>
    </message>
    <message>
        <source>Verlet Step</source>
        <translation>Krok Verleta</translation>
    </message>
    <message>
        <source>Second-order velocity Verlet step in place of the default step</source>
        <translation>Krok prędkościowy Verleta drugiego rzędu zamiast kroku domyślnego</translation>
    </message>
</context>
<context>
    <name>TMonitor</name>
    <message>
        <source>Monitor</source>
        <translation>Monitor</translation>
    </message>
    <message>
        <source>Steps per second</source>
        <translation>Kroki na sekundę</translation>
    </message>
    <message>
        <source>Save CSV ...</source>
        <translation>Zapisz CSV ...</translation>
    </message>
    <message>
        <source>yes</source>
        <translation>tak</translation>
    </message>
    <message>
        <source>no</source>
        <translation>nie</translation>
    </message>
    <message>
        <source>Step %1: %2</source>
        <translation>Krok %1: %2</translation>
    </message>
    <message>
        <source>Save the series</source>
        <translation>Zapis serii pomiarów</translation>
    </message>
    <message>
        <source>CSV files (*.csv);;All files (*)</source>
        <translation>Pliki CSV (*.csv);;Wszystkie pliki (*)</translation>
    </message>
    <message>
        <source>Save CSV</source>
        <translation>Zapis CSV</translation>
    </message>
    <message>
        <source>%1 already exists. Replace it?</source>
        <translation>%1 już istnieje. Zastąpić go?</translation>
    </message>
    <message>
        <source>Compare with CSV ...</source>
        <translation>Porównaj z CSV ...</translation>
    </message>
    <message>
        <source>Draw a saved Monitor CSV or an observe CSV dashed beside this run</source>
        <translation>Rysuje linią przerywaną zapisany CSV Monitora lub CSV z observe obok tego przebiegu</translation>
    </message>
    <message>
        <source>Stop Comparing</source>
        <translation>Zakończ porównanie</translation>
    </message>
    <message>
        <source>Cannot read %1: %2</source>
        <translation>Nie można odczytać %1: %2</translation>
    </message>
    <message>
        <source>%1 is too large for a table of observables</source>
        <translation>%1 jest za duży na tabelę wielkości</translation>
    </message>
    <message>
        <source>%1 is not a table of observables (%2)</source>
        <translation>%1 nie jest tabelą wielkości (%2)</translation>
    </message>
    <message>
        <source>Compare with a run</source>
        <translation>Porównanie z przebiegiem</translation>
    </message>
</context>
<context>
    <name>TRecordDlg</name>
    <message>
        <source>Record Frames</source>
        <translation>Nagrywanie klatek</translation>
    </message>
    <message>
        <source>Folder</source>
        <translation>Folder</translation>
    </message>
    <message>
        <source>Browse ...</source>
        <translation>Przeglądaj ...</translation>
    </message>
    <message>
        <source>A frame every</source>
        <translation>Klatka co</translation>
    </message>
    <message>
        <source>Stamp step and time in a corner</source>
        <translation>Krok i czas w rogu klatki</translation>
    </message>
    <message>
        <source>The folder %1 cannot be made.</source>
        <translation>Nie można utworzyć folderu %1.</translation>
    </message>
    <message numerus="yes">
        <source> steps</source>
        <comment>after the frame interval</comment>
        <translation>
            <numerusform> krok</numerusform>
            <numerusform> kroki</numerusform>
            <numerusform> kroków</numerusform>
        </translation>
    </message>
</context>
</TS>
