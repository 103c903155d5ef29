<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ru_RU">
<context>
    <name>Dialogs</name>
    <message>
        <source>Taons files (*.lis1)</source>
        <translation>Файлы таонов (*.lis1)</translation>
    </message>
    <message>
        <source>Save changes to %1?</source>
        <translation>Сохранить изменения в %1?</translation>
    </message>
    <message>
        <source>Export Image</source>
        <translation>Экспорт изображения</translation>
    </message>
    <message>
        <source>PNG images (*.png)</source>
        <translation>Изображения PNG (*.png)</translation>
    </message>
    <message>
        <source>Record Frames</source>
        <translation>Запись кадров</translation>
    </message>
</context>
<context>
    <name>Errors</name>
    <message>
        <source>File not found</source>
        <translation>Файл не найден</translation>
    </message>
    <message>
        <source>File access denied</source>
        <translation>Доступ к файлу запрещён</translation>
    </message>
    <message>
        <source>Read beyond end of file</source>
        <translation>Чтение за концом файла</translation>
    </message>
    <message>
        <source>Disk full</source>
        <translation>Диск заполнен</translation>
    </message>
    <message>
        <source>Invalid floating point operation</source>
        <translation>Недопустимая операция с плавающей точкой</translation>
    </message>
    <message>
        <source>Floating point division by zero</source>
        <translation>Деление на ноль с плавающей точкой</translation>
    </message>
    <message>
        <source>Floating point overflow</source>
        <translation>Переполнение с плавающей точкой</translation>
    </message>
    <message>
        <source>Text conversion not available</source>
        <translation>Преобразование текста недоступно</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is not a valid floating point value</source>
        <translation>«%1» не является допустимым числом с плавающей точкой</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is not a valid integer value</source>
        <translation>«%1» не является допустимым целым числом</translation>
    </message>
    <message>
        <source>I/O error %1</source>
        <translation>Ошибка ввода-вывода %1</translation>
    </message>
    <message>
        <source>Unknown error</source>
        <translation>Неизвестная ошибка</translation>
    </message>
    <message>
        <source>File too large</source>
        <translation>Файл слишком велик</translation>
    </message>
    <message>
        <source>The commentary %1 is not a regular file.</source>
        <translation>Комментарий %1 не является обычным файлом.</translation>
    </message>
    <message>
        <source>The commentary %1 cannot be read: %2.</source>
        <translation>Не удаётся прочитать комментарий %1: %2.</translation>
    </message>
    <message>
        <source>The commentary %1 is %2, more than the %3 a commentary may have.</source>
        <translation>Комментарий %1 занимает %2, а комментарий может занимать не более %3.</translation>
    </message>
    <message>
        <source>The commentary %1 is more than the %2 a commentary may have.</source>
        <translation>Комментарий %1 больше %2 — это предел для комментария.</translation>
    </message>
    <message>
        <source>%1 bytes</source>
        <translation>%1 байт</translation>
    </message>
    <message>
        <source>%1 KB</source>
        <translation>%1 КБ</translation>
    </message>
    <message>
        <source>%1 MB</source>
        <translation>%1 МБ</translation>
    </message>
</context>
<context>
    <name>FrameRecorder</name>
    <message>
        <source>%1: %2. Recording stopped.</source>
        <translation>%1: %2. Запись остановлена.</translation>
    </message>
</context>
<context>
    <name>HelpViewer</name>
    <message>
        <source>Zentrova Help</source>
        <translation>Справка Zentrova</translation>
    </message>
    <message>
        <source>Contents</source>
        <translation>Содержание</translation>
    </message>
    <message>
        <source>Back</source>
        <translation>Назад</translation>
    </message>
    <message>
        <source>Forward</source>
        <translation>Вперёд</translation>
    </message>
    <message>
        <source>The help file &quot;%1&quot; was not found.</source>
        <translation>Файл справки «%1» не найден.</translation>
    </message>
    <message>
        <source>It was looked for in these folders:</source>
        <translation>Его искали в этих папках:</translation>
    </message>
    <message>
        <source>Reinstalling the program puts the manuals back in place.</source>
        <translation>Переустановка программы возвращает руководства на место.</translation>
    </message>
</context>
<context>
    <name>Language</name>
    <message>
        <source>Language</source>
        <translation>Язык</translation>
    </message>
    <message>
        <source>Zentrova speaks this language from its next start.</source>
        <translation>Zentrova заговорит на этом языке при следующем запуске.</translation>
    </message>
    <message>
        <source>The choice of language cannot be kept in %1.</source>
        <translation>Не удаётся сохранить выбор языка в %1.</translation>
    </message>
</context>
<context>
    <name>MainFiles</name>
    <message>
        <source>the easy square</source>
        <translation>лёгкий квадрат</translation>
    </message>
</context>
<context>
    <name>MainMarks</name>
    <message>
        <source>Recording</source>
        <translation>Запись</translation>
    </message>
    <message>
        <source>Press F5 for the easy square, F3 to open an example, Enter to run, F1 for the manual</source>
        <translation>F5 — лёгкий квадрат, F3 — открыть пример, Enter — пуск, F1 — руководство</translation>
    </message>
    <message>
        <source>odd</source>
        <translation>нечётные</translation>
    </message>
    <message>
        <source>even</source>
        <translation>чётные</translation>
    </message>
    <message>
        <source>%1 (%2)   position %3; %4; %5   velocity %6; %7; %8   speed %9   from the centre %10</source>
        <translation>%1 (%2)   положение %3; %4; %5   скорость %6; %7; %8   модуль скорости %9   от центра %10</translation>
    </message>
    <message>
        <source>%1 to %2: distance %3</source>
        <translation>%1 – %2: расстояние %3</translation>
    </message>
    <message>
        <source>%1 to %2: distance %3   %2 to %4: distance %5   angle at %2: %6°</source>
        <translation>%1 – %2: расстояние %3   %2 – %4: расстояние %5   угол при %2: %6°</translation>
    </message>
    <message>
        <source>Step %1</source>
        <translation>Шаг %1</translation>
    </message>
    <message>
        <source>Time %1</source>
        <translation>Время %1</translation>
    </message>
    <message>
        <source>%1 steps/s</source>
        <translation>%1 шагов/с</translation>
    </message>
</context>
<context>
    <name>MonitorPlots</name>
    <message>
        <source>drift</source>
        <translation>дрейф</translation>
    </message>
    <message>
        <source>Kinetic energy</source>
        <translation>Кинетическая энергия</translation>
    </message>
    <message>
        <source>Energy</source>
        <translation>Энергия</translation>
    </message>
    <message>
        <source>Relative energy drift (E − E₀) / |E₀|</source>
        <translation>Относительный дрейф энергии (E − E₀) / |E₀|</translation>
    </message>
    <message>
        <source>Radius</source>
        <translation>Радиус</translation>
    </message>
    <message>
        <source>Minimum distance</source>
        <translation>Наименьшее расстояние</translation>
    </message>
    <message>
        <source>time</source>
        <translation>время</translation>
    </message>
</context>
<context>
    <name>Observables</name>
    <message>
        <source>Step</source>
        <translation>Шаг</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>Время</translation>
    </message>
    <message>
        <source>Kinetic energy</source>
        <translation>Кинетическая энергия</translation>
    </message>
    <message>
        <source>Kinetic energy, PE</source>
        <translation>Кинетическая энергия, PE</translation>
    </message>
    <message>
        <source>Kinetic energy, PES1</source>
        <translation>Кинетическая энергия, PES1</translation>
    </message>
    <message>
        <source>Kinetic energy, PES2</source>
        <translation>Кинетическая энергия, PES2</translation>
    </message>
    <message>
        <source>Centre X</source>
        <translation>Центр X</translation>
    </message>
    <message>
        <source>Centre Y</source>
        <translation>Центр Y</translation>
    </message>
    <message>
        <source>Centre Z</source>
        <translation>Центр Z</translation>
    </message>
    <message>
        <source>Radius</source>
        <translation>Радиус</translation>
    </message>
    <message>
        <source>Minimum distance</source>
        <translation>Наименьшее расстояние</translation>
    </message>
    <message>
        <source>Closest pair, i</source>
        <translation>Ближайшая пара, i</translation>
    </message>
    <message>
        <source>Closest pair, k</source>
        <translation>Ближайшая пара, k</translation>
    </message>
    <message>
        <source>Potential energy</source>
        <translation>Потенциальная энергия</translation>
    </message>
    <message>
        <source>Total energy</source>
        <translation>Полная энергия</translation>
    </message>
    <message>
        <source>Energy conserved</source>
        <translation>Энергия сохраняется</translation>
    </message>
    <message>
        <source>Momentum X</source>
        <translation>Импульс X</translation>
    </message>
    <message>
        <source>Momentum Y</source>
        <translation>Импульс Y</translation>
    </message>
    <message>
        <source>Momentum Z</source>
        <translation>Импульс Z</translation>
    </message>
    <message>
        <source>Angular momentum X</source>
        <translation>Момент импульса X</translation>
    </message>
    <message>
        <source>Angular momentum Y</source>
        <translation>Момент импульса Y</translation>
    </message>
    <message>
        <source>Angular momentum Z</source>
        <translation>Момент импульса Z</translation>
    </message>
    <message>
        <source>Present particles</source>
        <translation>Присутствующие частицы</translation>
    </message>
    <message>
        <source>total</source>
        <translation>полная</translation>
    </message>
    <message>
        <source>radius</source>
        <translation>радиус</translation>
    </message>
    <message>
        <source>closest pair</source>
        <translation>ближайшая пара</translation>
    </message>
    <message>
        <source>potential</source>
        <translation>потенциальная</translation>
    </message>
    <message>
        <source>the pull of PE is off</source>
        <translation>действие PE выключено</translation>
    </message>
    <message>
        <source>the pull of PES1 is off</source>
        <translation>действие PES1 выключено</translation>
    </message>
    <message>
        <source>the pull of PES2 is off</source>
        <translation>действие PES2 выключено</translation>
    </message>
    <message>
        <source>Cool is on</source>
        <translation>остывание включено</translation>
    </message>
    <message>
        <source>Potential energy, PE</source>
        <translation>Потенциальная энергия, PE</translation>
    </message>
    <message>
        <source>Potential energy, PES1</source>
        <translation>Потенциальная энергия, PES1</translation>
    </message>
    <message>
        <source>Potential energy, PES2</source>
        <translation>Потенциальная энергия, PES2</translation>
    </message>
    <message>
        <source>Work of the unequal pulls</source>
        <translation>Работа несимметричных сил</translation>
    </message>
    <message>
        <source>Momentum conserved</source>
        <translation>Импульс сохраняется</translation>
    </message>
    <message>
        <source>Temperature</source>
        <translation>Температура</translation>
    </message>
    <message>
        <source>Largest force</source>
        <translation>Наибольшая сила</translation>
    </message>
    <message>
        <source>Largest step</source>
        <translation>Наибольшее смещение</translation>
    </message>
    <message>
        <source>particles of several groups pull each other</source>
        <translation>частицы нескольких групп действуют друг на друга</translation>
    </message>
    <message>
        <source>Blockade holds a particle that pulls others</source>
        <translation>блокировка удерживает частицу, которая действует на другие</translation>
    </message>
</context>
<context>
    <name>TAboutBox</name>
    <message>
        <source>About</source>
        <translation>О программе</translation>
    </message>
    <message>
        <source>Written by the Zentrova developers</source>
        <translation>Написана разработчиками Zentrova</translation>
    </message>
    <message>
        <source>Manuals: Help menu or F1</source>
        <translation>Руководства: меню «Справка» или F1</translation>
    </message>
    <message>
        <source>Pictures and example sets by the same team</source>
        <translation>Рисунки и примеры наборов — от неё же</translation>
    </message>
    <message>
        <source>Example sets: share/zentrova/examples</source>
        <translation>Примеры наборов: share/zentrova/examples</translation>
    </message>
    <message>
        <source>Thanks to all who try it and report faults</source>
        <translation>Спасибо всем, кто сообщает об ошибках</translation>
    </message>
    <message>
        <source>Version</source>
        <translation>Версия</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Version %1</source>
        <translation>Версия %1</translation>
    </message>
    <message>
        <source>60 interacting taons and gravons in three groups</source>
        <translation>60 взаимодействующих частиц в трёх группах</translation>
    </message>
</context>
<context>
    <name>TEditDlg</name>
    <message>
        <source> Editing of gravon&apos;s or taon&apos;s values</source>
        <translation> Правка значений гравона или таона</translation>
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
        <translation>Гравон/таон</translation>
    </message>
    <message>
        <source>Coordinats</source>
        <translation>Коорд.</translation>
    </message>
    <message>
        <source>VeloCity</source>
        <translation>Скор.</translation>
    </message>
    <message>
        <source>There is Gravon or Taon</source>
        <translation>Частица присутствует</translation>
    </message>
    <message>
        <source>&amp;Yes</source>
        <translation>&amp;Да</translation>
    </message>
    <message>
        <source>Save As</source>
        <translation>Сохранить как</translation>
    </message>
    <message>
        <source>FileName</source>
        <translation>Файл</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Отмена</translation>
    </message>
    <message>
        <source>S e r i a l   n u m b e r   o f   g r a v o n s   o r   t a o n s</source>
        <translation>Н о м е р а   г р а в о н о в   и л и   т а о н о в</translation>
    </message>
    <message>
        <source>Calculation of distance 1</source>
        <translation>Расчёт расстояния 1</translation>
    </message>
    <message>
        <source>Result 1</source>
        <translation>Итог 1</translation>
    </message>
    <message>
        <source>Calculate 1</source>
        <translation>Расчёт 1</translation>
    </message>
    <message>
        <source>Reset 1</source>
        <translation>Сброс 1</translation>
    </message>
    <message>
        <source>Calculation of distance 2</source>
        <translation>Расчёт расстояния 2</translation>
    </message>
    <message>
        <source>Result 2</source>
        <translation>Итог 2</translation>
    </message>
    <message>
        <source>Calculate 2</source>
        <translation>Расчёт 2</translation>
    </message>
    <message>
        <source>Reset 2</source>
        <translation>Сброс 2</translation>
    </message>
    <message>
        <source>Calculation of distance 3</source>
        <translation>Расчёт расстояния 3</translation>
    </message>
    <message>
        <source>Result 3</source>
        <translation>Итог 3</translation>
    </message>
    <message>
        <source>Calculate 3</source>
        <translation>Расчёт 3</translation>
    </message>
    <message>
        <source>Reset 3</source>
        <translation>Сброс 3</translation>
    </message>
    <message>
        <source>Calculation of distance 4</source>
        <translation>Расчёт расстояния 4</translation>
    </message>
    <message>
        <source>Result 4</source>
        <translation>Итог 4</translation>
    </message>
    <message>
        <source>Calculate 4</source>
        <translation>Расчёт 4</translation>
    </message>
    <message>
        <source>Reset 4</source>
        <translation>Сброс 4</translation>
    </message>
    <message>
        <source>Velo</source>
        <translation>Скор.</translation>
    </message>
    <message>
        <source>Taons</source>
        <translation>Таоны</translation>
    </message>
    <message>
        <source>Gravons</source>
        <translation>Гравоны</translation>
    </message>
    <message>
        <source>Edit of Particle %1</source>
        <translation>Правка частицы %1</translation>
    </message>
    <message>
        <source>Edit of Parameters</source>
        <translation>Правка параметров</translation>
    </message>
</context>
<context>
    <name>TMainForm</name>
    <message>
        <source>Listing</source>
        <translation>Таблица</translation>
    </message>
    <message>
        <source>Commentary</source>
        <translation>Комментарий</translation>
    </message>
    <message>
        <source>No Comment</source>
        <translation>Нет комментария</translation>
    </message>
    <message>
        <source>File Name</source>
        <translation>Имя файла</translation>
    </message>
    <message>
        <source>Gravoscope</source>
        <translation>Гравоскоп</translation>
    </message>
    <message>
        <source>Taoscope</source>
        <translation>Таоскоп</translation>
    </message>
    <message>
        <source>Zoom out (the Amplitude bar sets the step)</source>
        <translation>Уменьшить (шаг задаёт ползунок «Амплитуда»)</translation>
    </message>
    <message>
        <source>Turn about the horizontal axis (Theta down)</source>
        <translation>Поворот вокруг горизонтальной оси (Theta вниз)</translation>
    </message>
    <message>
        <source>Turn about the vertical axis (Psi down)</source>
        <translation>Поворот вокруг вертикальной оси (Psi вниз)</translation>
    </message>
    <message>
        <source>Turn about the axis towards you (Phi up)</source>
        <translation>Поворот вокруг оси, направленной на вас (Phi вверх)</translation>
    </message>
    <message>
        <source>Stop turning</source>
        <translation>Остановить вращение</translation>
    </message>
    <message>
        <source>Turn about the axis towards you (Phi down)</source>
        <translation>Поворот вокруг оси, направленной на вас (Phi вниз)</translation>
    </message>
    <message>
        <source>Zoom in (the Amplitude bar sets the step)</source>
        <translation>Увеличить (шаг задаёт ползунок «Амплитуда»)</translation>
    </message>
    <message>
        <source>Turn about the horizontal axis (Theta up)</source>
        <translation>Поворот вокруг горизонтальной оси (Theta вверх)</translation>
    </message>
    <message>
        <source>Turn about the vertical axis (Psi up)</source>
        <translation>Поворот вокруг вертикальной оси (Psi вверх)</translation>
    </message>
    <message>
        <source>Amplitude</source>
        <translation>Амплитуда</translation>
    </message>
    <message>
        <source>Go</source>
        <translation>Пуск</translation>
    </message>
    <message>
        <source>Lamp: bright green while no run goes</source>
        <translation>Лампа: ярко-зелёная, пока счёт стоит</translation>
    </message>
    <message>
        <source>Lamp: red while a run goes</source>
        <translation>Лампа: красная, пока идёт счёт</translation>
    </message>
    <message>
        <source>Time:</source>
        <translation>Шаг:</translation>
    </message>
    <message>
        <source>Make null of velocity</source>
        <translation>Обнулить скорости</translation>
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
        <translation>Остывание</translation>
    </message>
    <message>
        <source>Show Listing</source>
        <translation>Таблица</translation>
    </message>
    <message>
        <source>PE - out</source>
        <translation>PE - выкл.</translation>
    </message>
    <message>
        <source>PES1-out</source>
        <translation>PES1-выкл.</translation>
    </message>
    <message>
        <source>PES2-out</source>
        <translation>PES2-выкл.</translation>
    </message>
    <message>
        <source>*  Blockade X, Y, Z in positions - 20, 40, 60  *</source>
        <translation>*  Блокировка X, Y, Z в позициях 20, 40, 60  *</translation>
    </message>
    <message>
        <source>File</source>
        <translation>Файл</translation>
    </message>
    <message>
        <source>Edit</source>
        <translation>Правка</translation>
    </message>
    <message>
        <source>View</source>
        <translation>Вид</translation>
    </message>
    <message>
        <source>Show Images</source>
        <translation>Показать</translation>
    </message>
    <message>
        <source>Point Size</source>
        <translation>Размер точек</translation>
    </message>
    <message>
        <source>Run</source>
        <translation>Счёт</translation>
    </message>
    <message>
        <source>Speed</source>
        <translation>Скорость</translation>
    </message>
    <message>
        <source>Manager</source>
        <translation>Управление</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Справка</translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>Отменить</translation>
    </message>
    <message>
        <source>Redo</source>
        <translation>Повторить</translation>
    </message>
    <message>
        <source>Fit to View</source>
        <translation>Вписать в вид</translation>
    </message>
    <message>
        <source>Keep in View</source>
        <translation>Удерживать в виде</translation>
    </message>
    <message>
        <source>Trails</source>
        <translation>Следы</translation>
    </message>
    <message>
        <source>Export Image...</source>
        <translation>Экспорт изображения...</translation>
    </message>
    <message>
        <source>Record Frames...</source>
        <translation>Запись кадров...</translation>
    </message>
    <message>
        <source>Monitor</source>
        <translation>Монитор</translation>
    </message>
    <message>
        <source>Go / Stop	Enter</source>
        <translation>Пуск / Стоп	Enter</translation>
    </message>
    <message>
        <source>Step Once</source>
        <translation>Один шаг</translation>
    </message>
    <message>
        <source>Full</source>
        <translation>Полная</translation>
    </message>
    <message>
        <source>100 steps/s</source>
        <translation>100 шагов/с</translation>
    </message>
    <message>
        <source>10 steps/s</source>
        <translation>10 шагов/с</translation>
    </message>
    <message>
        <source>New</source>
        <translation>Новый</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Открыть</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Сохранить</translation>
    </message>
    <message>
        <source>Save As ...</source>
        <translation>Сохранить как ...</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Выход</translation>
    </message>
    <message>
        <source>Taons</source>
        <translation>Таоны</translation>
    </message>
    <message>
        <source>Spiral</source>
        <translation>Спираль</translation>
    </message>
    <message>
        <source>ShowSpin</source>
        <translation>Вращать спираль</translation>
    </message>
    <message>
        <source>Show Numbers of Points</source>
        <translation>Показывать номера точек</translation>
    </message>
    <message>
        <source>Move to center</source>
        <translation>Переместить в центр</translation>
    </message>
    <message>
        <source>Left</source>
        <translation>Влево</translation>
    </message>
    <message>
        <source>Right</source>
        <translation>Вправо</translation>
    </message>
    <message>
        <source>Up</source>
        <translation>Вверх</translation>
    </message>
    <message>
        <source>Down</source>
        <translation>Вниз</translation>
    </message>
    <message>
        <source>English Help</source>
        <translation>Справка на английском</translation>
    </message>
    <message>
        <source>Russian Help</source>
        <translation>Справка на русском</translation>
    </message>
    <message>
        <source>Poland Help</source>
        <translation>Справка на польском</translation>
    </message>
    <message>
        <source>About</source>
        <translation>О программе</translation>
    </message>
    <message>
        <source>Confirm</source>
        <translation>Подтверждение</translation>
    </message>
    <message>
        <source>The text was changed. Save now?</source>
        <translation>Текст изменён. Сохранить сейчас?</translation>
    </message>
    <message>
        <source>Yes Null</source>
        <translation>Обнулено</translation>
    </message>
    <message>
        <source>Velocity Reset</source>
        <translation>Обнуление скоростей</translation>
    </message>
    <message>
        <source>The start File not found.</source>
        <translation>Стартовый файл не найден.</translation>
    </message>
    <message>
        <source>Run of 1 step</source>
        <translation>Прогон (1 шаг)</translation>
    </message>
    <message numerus="yes">
        <source>Run of %1 steps</source>
        <translation>
            <numerusform>Прогон (%1 шаг)</numerusform>
            <numerusform>Прогон (%1 шага)</numerusform>
            <numerusform>Прогон (%1 шагов)</numerusform>
        </translation>
    </message>
    <message>
        <source>Single Step</source>
        <translation>Одиночный шаг</translation>
    </message>
    <message numerus="yes">
        <source>%1 Single Steps</source>
        <translation>
            <numerusform>%1 одиночный шаг</numerusform>
            <numerusform>%1 одиночных шага</numerusform>
            <numerusform>%1 одиночных шагов</numerusform>
        </translation>
    </message>
    <message>
        <source>Undo %1</source>
        <translation>Отменить: %1</translation>
    </message>
    <message>
        <source>Redo %1</source>
        <translation>Повторить: %1</translation>
    </message>
    <message>
        <source>Change of %1</source>
        <translation>Изменение %1</translation>
    </message>
    <message>
        <source>step %1   time %2</source>
        <translation>шаг %1   время %2</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Стоп</translation>
    </message>
    <message>
        <source>The easy square</source>
        <translation>Лёгкий квадрат</translation>
    </message>
    <message>
        <source>Standard Views</source>
        <translation>Стандартные виды</translation>
    </message>
    <message>
        <source>Front (x-y)</source>
        <translation>Спереди (x-y)</translation>
    </message>
    <message>
        <source>Top (x-z)</source>
        <translation>Сверху (x-z)</translation>
    </message>
    <message>
        <source>Side (y-z)</source>
        <translation>Сбоку (y-z)</translation>
    </message>
    <message>
        <source>Axes Triad</source>
        <translation>Оси координат</translation>
    </message>
    <message>
        <source>Scale Bar</source>
        <translation>Масштабная линейка</translation>
    </message>
    <message>
        <source>Colour-Blind-Safe Palette</source>
        <translation>Палитра для дальтоников</translation>
    </message>
    <message>
        <source>Keyboard</source>
        <translation>Клавиатура</translation>
    </message>
    <message>
        <source>Enter</source>
        <translation>Enter</translation>
    </message>
    <message>
        <source>Go, or Stop during a run</source>
        <translation>Пуск, во время счёта — Стоп</translation>
    </message>
    <message>
        <source>Esc</source>
        <translation>Esc</translation>
    </message>
    <message>
        <source>Stop a run</source>
        <translation>Останавливает счёт</translation>
    </message>
    <message>
        <source>Click</source>
        <translation>Щелчок</translation>
    </message>
    <message>
        <source>Pick a particle; on empty space, clear the pick</source>
        <translation>Выбирает частицу; на пустом месте снимает выбор</translation>
    </message>
    <message>
        <source>Shift+Click</source>
        <translation>Shift+щелчок</translation>
    </message>
    <message>
        <source>Pick a second particle (distance) and a third (angle)</source>
        <translation>Выбирает вторую частицу (расстояние) и третью (угол)</translation>
    </message>
    <message>
        <source>Left drag</source>
        <translation>Перетаскивание левой кнопкой</translation>
    </message>
    <message>
        <source>Turn the view</source>
        <translation>Поворачивает вид</translation>
    </message>
    <message>
        <source>Right drag</source>
        <translation>Перетаскивание правой кнопкой</translation>
    </message>
    <message>
        <source>Turn about the view&apos;s axis and zoom</source>
        <translation>Поворачивает вокруг оси вида и масштабирует</translation>
    </message>
    <message>
        <source>Wheel</source>
        <translation>Колесо мыши</translation>
    </message>
    <message>
        <source>Zoom</source>
        <translation>Масштабирует</translation>
    </message>
    <message>
        <source>Double click on the listing</source>
        <translation>Двойной щелчок по таблице</translation>
    </message>
    <message>
        <source>Positions or velocities</source>
        <translation>Положения или скорости</translation>
    </message>
    <message>
        <source>%1 stays %2</source>
        <translation>%1 остаётся %2</translation>
    </message>
    <message>
        <source>Verlet Step</source>
        <translation>Шаг Верле</translation>
    </message>
    <message>
        <source>Second-order velocity Verlet step in place of the default step</source>
        <translation>Скоростной шаг Верле второго порядка вместо шага по умолчанию</translation>
    </message>
</context>
<context>
    <name>TMonitor</name>
    <message>
        <source>Monitor</source>
        <translation>Монитор</translation>
    </message>
    <message>
        <source>Steps per second</source>
        <translation>Шагов в секунду</translation>
    </message>
    <message>
        <source>Save CSV ...</source>
        <translation>Сохранить CSV ...</translation>
    </message>
    <message>
        <source>yes</source>
        <translation>да</translation>
    </message>
    <message>
        <source>no</source>
        <translation>нет</translation>
    </message>
    <message>
        <source>Step %1: %2</source>
        <translation>Шаг %1: %2</translation>
    </message>
    <message>
        <source>Save the series</source>
        <translation>Сохранение ряда отсчётов</translation>
    </message>
    <message>
        <source>CSV files (*.csv);;All files (*)</source>
        <translation>Файлы CSV (*.csv);;Все файлы (*)</translation>
    </message>
    <message>
        <source>Save CSV</source>
        <translation>Сохранение CSV</translation>
    </message>
    <message>
        <source>%1 already exists. Replace it?</source>
        <translation>%1 уже существует. Заменить?</translation>
    </message>
    <message>
        <source>Compare with CSV ...</source>
        <translation>Сравнить с CSV ...</translation>
    </message>
    <message>
        <source>Draw a saved Monitor CSV or an observe CSV dashed beside this run</source>
        <translation>Рисует пунктиром сохранённый CSV монитора или CSV команды observe рядом с этим прогоном</translation>
    </message>
    <message>
        <source>Stop Comparing</source>
        <translation>Прекратить сравнение</translation>
    </message>
    <message>
        <source>Cannot read %1: %2</source>
        <translation>Не удаётся прочитать %1: %2</translation>
    </message>
    <message>
        <source>%1 is too large for a table of observables</source>
        <translation>%1 слишком велик для таблицы величин</translation>
    </message>
    <message>
        <source>%1 is not a table of observables (%2)</source>
        <translation>%1 не является таблицей величин (%2)</translation>
    </message>
    <message>
        <source>Compare with a run</source>
        <translation>Сравнение с прогоном</translation>
    </message>
</context>
<context>
    <name>TRecordDlg</name>
    <message>
        <source>Record Frames</source>
        <translation>Запись кадров</translation>
    </message>
    <message>
        <source>Folder</source>
        <translation>Папка</translation>
    </message>
    <message>
        <source>Browse ...</source>
        <translation>Обзор ...</translation>
    </message>
    <message>
        <source>A frame every</source>
        <translation>Кадр каждые</translation>
    </message>
    <message>
        <source>Stamp step and time in a corner</source>
        <translation>Шаг и время в углу кадра</translation>
    </message>
    <message>
        <source>The folder %1 cannot be made.</source>
        <translation>Не удаётся создать папку %1.</translation>
    </message>
    <message numerus="yes">
        <source> steps</source>
        <comment>after the frame interval</comment>
        <translation>
            <numerusform> шаг</numerusform>
            <numerusform> шага</numerusform>
            <numerusform> шагов</numerusform>
        </translation>
    </message>
</context>
</TS>
