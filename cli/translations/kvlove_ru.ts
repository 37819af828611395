<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ru" sourcelanguage="en">
<context>
    <name>Kvlove</name>
    <message>
        <location filename="../args.cpp" line="+31"/>
        <source>%1 is not a number: &apos;%2&apos;</source>
        <translation>%1 — не число: «%2»</translation>
    </message>
    <message>
        <location line="+30"/>
        <source>malformed place &apos;%1&apos; (expected LAT,LON in degrees, such as 55.75,37.62)</source>
        <translation>неверное место «%1» (нужно ШИРОТА,ДОЛГОТА в градусах, например 55.75,37.62)</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>latitude out of range -90..90: &apos;%1&apos;</source>
        <translation>широта вне пределов -90..90: «%1»</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>longitude out of range -180..180: &apos;%1&apos;</source>
        <translation>долгота вне пределов -180..180: «%1»</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>%1 out of range %2..%3: &apos;%4&apos;</source>
        <translation>%1 вне пределов %2..%3: «%4»</translation>
    </message>
    <message>
        <location line="+27"/>
        <source>%1 &apos;%2&apos; does not exist: there is no year 0 (-1 is 1 BC); --lenient-dates takes it as %3</source>
        <translation>%1 «%2» не существует: года 0 нет (-1 — это 1 год до н. э.); с --lenient-dates берётся %3</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>%1 &apos;%2&apos; does not exist: 04.10.1582 (Julian) was followed by 15.10.1582 (Gregorian); --lenient-dates reads it as a Julian date, %3</source>
        <translation>%1 «%2» не существует: за 04.10.1582 (по юлианскому календарю) сразу следовало 15.10.1582 (по григорианскому); с --lenient-dates дата читается как юлианская, %3</translation>
    </message>
    <message>
        <location line="+7"/>
        <location line="+33"/>
        <source>%1 &apos;%2&apos; does not exist: month %3 of %4 has %5 days; --lenient-dates counts on to %6</source>
        <translation>%1 «%2» не существует: в месяце %3 года %4 всего %5 дней; с --lenient-dates счёт идёт дальше, до %6</translation>
    </message>
    <message>
        <location line="-15"/>
        <location line="+36"/>
        <source>malformed %1 &apos;%2&apos; (expected DD.MM.YYYY or YYYY-MM-DD)</source>
        <translation>неверная запись: %1 «%2» (нужно ДД.ММ.ГГГГ или ГГГГ-ММ-ДД)</translation>
    </message>
    <message>
        <location line="-35"/>
        <location line="+42"/>
        <location line="+3"/>
        <location filename="../cmd_compat.cpp" line="+107"/>
        <location filename="../cmd_eclipses.cpp" line="+25"/>
        <location filename="../cmd_lunar.cpp" line="+24"/>
        <location filename="../cmd_report.cpp" line="+19"/>
        <location filename="../cmd_today.cpp" line="+30"/>
        <source>year</source>
        <translation>год</translation>
    </message>
    <message>
        <location line="-44"/>
        <location line="+2"/>
        <location line="+38"/>
        <location line="+3"/>
        <source>month</source>
        <translation>месяц</translation>
    </message>
    <message>
        <location line="-43"/>
        <location line="+1"/>
        <location line="+39"/>
        <location line="+2"/>
        <source>day</source>
        <translation>день</translation>
    </message>
    <message>
        <location line="-15"/>
        <source>date</source>
        <translation>дата</translation>
    </message>
    <message>
        <location line="+34"/>
        <location line="+2"/>
        <location line="+3"/>
        <source>malformed time &apos;%1&apos; (expected HH:MM[:SS])</source>
        <translation>неверное время «%1» (нужно ЧЧ:ММ[:СС])</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>hour</source>
        <translation>час</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>minute</source>
        <translation>минута</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>second</source>
        <translation>секунда</translation>
    </message>
    <message>
        <location filename="../cmd_chart.cpp" line="+19"/>
        <source>year out of range %1..%2 (the ephemeris computes no other years): &apos;%3&apos;</source>
        <translation>год вне пределов %1..%2 (других лет эфемериды не считают): «%3»</translation>
    </message>
    <message>
        <location filename="../cmd_compat.cpp" line="-73"/>
        <source>Cannot load the pictures&apos; module &apos;%1&apos;: %2</source>
        <translation>Не удаётся загрузить модуль картинок «%1»: %2</translation>
    </message>
    <message>
        <location filename="../cmd_lunar.cpp" line="+4"/>
        <source>lunar month</source>
        <translation>лунный месяц</translation>
    </message>
    <message>
        <location line="+95"/>
        <source>lunar day</source>
        <translation>лунный день</translation>
    </message>
    <message>
        <location filename="../cmd_report.cpp" line="-2"/>
        <source>malformed time &apos;%1&apos; (expected HH:MM)</source>
        <translation>неверное время «%1» (нужно ЧЧ:ММ)</translation>
    </message>
    <message>
        <location filename="../cmd_today.cpp" line="-4"/>
        <source>malformed --at &apos;%1&apos; (expected &quot;DD.MM.YYYY HH:MM&quot;)</source>
        <translation>неверное значение --at «%1» (нужно &quot;ДД.ММ.ГГГГ ЧЧ:ММ&quot;)</translation>
    </message>
    <message>
        <location line="+33"/>
        <source>at %1 the Moon does not rise near this moment: there is no lunar day</source>
        <translation>в %1 Луна не восходит рядом с этим моментом: лунного дня нет</translation>
    </message>
    <message>
        <location filename="../commands.cpp" line="+14"/>
        <source>text (the default), json or csv: json is one object with
the inputs and the results, times in ISO 8601 with their
UTC offset; csv a header line, then a line per record.
The files written are the same in every format</source>
        <translation>text (по умолчанию), json или csv: json — один объект
с входными данными и результатами, моменты в ISO 8601
со смещением от UTC; csv — строка заголовка, затем по
строке на запись. Записываемые файлы во всех форматах
одни и те же</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>the time zone of the dates and times: an IANA zone of the
system (Europe/Moscow) or an offset east of Greenwich
(+03:00, +3, UTC+3 and GMT+3 alike; the database&apos;s
Etc/GMT+3, of reversed sign, is refused); default GMT,
or the zone of the --place city</source>
        <translation>часовой пояс дат и времени: пояс IANA из системы
(Europe/Moscow) или смещение к востоку от Гринвича
(+03:00, +3, UTC+3 и GMT+3 равнозначны; Etc/GMT+3 из
базы поясов, с обратным знаком, не принимается);
по умолчанию GMT или пояс города из --place</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>the observer: a city of the atlas (libgeonames, 24,361
cities) by its Russian or Latin name, with its region or
country after commas when the name is not enough
(--place Москва, --place &quot;Moscow, Idaho&quot;): a name alone
means its most populous city, and the city&apos;s zone is used
unless --tz is given; or LAT,LON in degrees, north and
east positive (--place 55.75,37.62), in GMT unless --tz is
given; default 51.5,0, the window&apos;s observer</source>
        <translation>наблюдатель: город атласа (libgeonames, 24 361 город)
по русскому или латинскому названию, с регионом или
страной через запятую, если названия мало (--place
Москва, --place &quot;Moscow, Idaho&quot;): одно название — самый
населённый из городов с ним; берётся пояс города, если
не дан --tz; или ШИРОТА,ДОЛГОТА в градусах, север и
восток положительны (--place 55.75,37.62), по GMT, если
не дан --tz; по умолчанию 51.5,0, наблюдатель окна</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>the place of birth: DATE and TIME are its clock&apos;s, turned
into universal time through its zone&apos;s history (daylight
saving, every change of offset). A city of the atlas by its
Russian or Latin name, with region or country after commas
(--place &quot;Москва, Россия&quot;), or LAT,LON with --tz. A time
the clock skipped is refused; one it showed twice is taken
the first time, and the output says so</source>
        <translation>место рождения: DATE и TIME — показания его часов,
переведённые во всемирное время по истории его пояса
(летнее время, каждая смена смещения). Город атласа по
русскому или латинскому названию, с регионом или страной
через запятую (--place &quot;Москва, Россия&quot;), или ШИРОТА,
ДОЛГОТА с --tz. Время, пропущенное часами, не
принимается; показанное дважды берётся в первый раз,
и вывод об этом говорит</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>the time zone of the dates and times, whose calendar days
the moonrise search runs in (from the zone&apos;s midnight): an
IANA zone (Europe/Moscow) or an offset east of Greenwich
(+03:00, UTC+3, GMT+3 alike); default GMT, or the zone of
the --place city</source>
        <translation>часовой пояс дат и времени, по календарным дням
которого (от полуночи пояса) ищутся восходы Луны: пояс
IANA (Europe/Moscow) или смещение к востоку от Гринвича
(+03:00, UTC+3, GMT+3 равнозначны); по умолчанию GMT
или пояс города из --place</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Text output tells times as the window does, by the clock digits of a
moment cut to the minute, so a moonrise of 09:38 can print as
09:37:59; json and csv give the exact minute.
</source>
        <translation>Текстовый вывод, как и окно, показывает время цифрами часов момента,
отсечённого до минуты, поэтому восход Луны в 09:38 может быть выведен
как 09:37:59; json и csv дают точную минуту.
</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>take day 1..31 of any month as the window does: counted on
past the month&apos;s end (31.02.2020 is 02.03.2020), 05.10 to
14.10.1582 read as Julian dates and year 0 as 1 BC, instead
of refusing a date that does not exist</source>
        <translation>принимать день 1..31 любого месяца, как окно: со счётом
дальше конца месяца (31.02.2020 — это 02.03.2020),
05.10–14.10.1582 как юлианские даты и год 0 как 1 год
до н. э., вместо отказа от несуществующей даты</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>the ten bodies at a moment (universal time)</source>
        <translation>десять светил в момент (всемирное время)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Usage: kvlove chart DATE [HH:MM[:SS]] [--place PLACE] [--tz ZONE]

Positions of the Sun, the Moon and the planets at the given moment of
universal time (default 00:00:00). DATE is DD.MM.YYYY or YYYY-MM-DD
(see kvlove --help). Years -3000..3000, the years the ephemeris
computes; negative years are years BC (-1 is 1 BC). The first
line is the day number (days since 1899-12-31 12:00 UT, 17 significant
digits); then one line per body, tab-separated:
  index (1 Sun, 2 Moon, 3 Mercury, 4 Venus, 5 Mars, 6 Jupiter, 7 Saturn,
  8 Uranus, 9 Neptune, 10 Pluto), longitude, declination and daily speed
  in degrees (9 decimals), zodiac sign (1 Aries .. 12 Pisces).
With --place the date and time are the clock&apos;s of the place of birth;
a last line names the place, the zone and the offset used (json:
place, offset and moment).

Example, born in Moscow at 12:15 on 1 July 1985 (UTC+04:00 then):
  kvlove chart 01.07.1985 12:15 --place Москва
</source>
        <translation>Использование: kvlove chart DATE [ЧЧ:ММ[:СС]] [--place PLACE] [--tz ZONE]

Положения Солнца, Луны и планет в данный момент всемирного времени
(по умолчанию 00:00:00). DATE — ДД.ММ.ГГГГ или ГГГГ-ММ-ДД (см.
kvlove --help). Годы -3000..3000, которые считают эфемериды;
отрицательные годы — годы до н. э. (-1 — это 1 год до н. э.). Первая
строка — номер дня (дни от 1899-12-31 12:00 UT, 17 значащих цифр);
затем по строке на светило, через табуляцию:
  номер (1 Солнце, 2 Луна, 3 Меркурий, 4 Венера, 5 Марс, 6 Юпитер,
  7 Сатурн, 8 Уран, 9 Нептун, 10 Плутон), долгота, склонение и суточная
  скорость в градусах (9 знаков после точки), знак зодиака (1 Овен ..
  12 Рыбы).
С --place дата и время — показания часов места рождения; последняя
строка называет место, пояс и смещение (json: place, offset и moment).

Пример: родился в Москве в 12:15 1 июля 1985 года (тогда UTC+04:00):
  kvlove chart 01.07.1985 12:15 --place Москва
</translation>
    </message>
    <message>
        <location line="+22"/>
        <location line="+70"/>
        <source>also save the page as the PDF FILE (A4), as the window&apos;s
Ctrl+S does</source>
        <translation>ещё и сохранить страницу в PDF-файл FILE (A4), как это
делает Ctrl+S в окне</translation>
    </message>
    <message>
        <location line="-61"/>
        <source>compatibility scan of four years: levels, scan files, charts</source>
        <translation>совместимость за четыре года: уровни, файлы расчёта, графики</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Usage: kvlove compat DATE START_YEAR [--png PREFIX] [--pdf FILE] [--extremes]

The compatibility run of the window for a birth date DATE (DD.MM.YYYY or
YYYY-MM-DD, taken at 12:00; year -2000..3000) and the first year of the
analysis (1900..2050), without its pauses. Pass 1 rates every second day
of START_YEAR and the year after, pass 2 the two years that follow.
Writes Html/Scan1.txt and Html/Scan2.txt under the main directory, as
the window does, and prints one line per point, tab-separated:
  pass (1, 2), point K (1..360), day, month and year of the partner&apos;s
  birth date, level (-70..70).
With --extremes it prints instead, for each calendar year, the 10 points
of the highest level and the 10 of the lowest, as the window&apos;s list beside
the charts shows them, one line per point, tab-separated:
  year, highest or lowest, rank (1..10), day, month, year, level.
Of equal levels the earlier date ranks first.
</source>
        <translation>Использование: kvlove compat DATE START_YEAR [--png PREFIX] [--pdf FILE] [--extremes]

Расчёт совместимости, как в окне, для даты рождения DATE (ДД.ММ.ГГГГ или
ГГГГ-ММ-ДД, в 12:00; год -2000..3000) и первого года анализа
(1900..2050), без пауз окна. Проход 1 оценивает каждый второй день года
START_YEAR и следующего, проход 2 — двух лет за ними. Записывает
Html/Scan1.txt и Html/Scan2.txt в главном каталоге, как окно, и выводит
по строке на точку, через табуляцию:
  проход (1, 2), точка K (1..360), день, месяц и год рождения партнёра,
  уровень (-70..70).
С --extremes выводит вместо этого для каждого календарного года 10 точек
с самым высоким уровнем и 10 с самым низким, как их показывает список окна
рядом с графиками, по строке на точку, через табуляцию:
  год, highest или lowest, место (1..10), день, месяц, год, уровень.
Из равных уровней выше стоит более ранняя дата.
</translation>
    </message>
    <message>
        <location line="+18"/>
        <source>also save the two charts as PREFIX1.png and PREFIX2.png
(720 x 218 pixels), as the window draws them at 100 %</source>
        <translation>ещё и сохранить оба графика в PREFIX1.png и PREFIX2.png
(720 x 218 точек), как окно рисует их при 100 %</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>also save both charts with the birth date, the years and a
legend as the PDF FILE (A4), as the window&apos;s Ctrl+S does</source>
        <translation>ещё и сохранить оба графика с датой рождения, годами и
легендой в PDF-файл FILE (A4), как это делает Ctrl+S в окне</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>print each year&apos;s 10 highest and 10 lowest points instead
of every point</source>
        <translation>вывести вместо всех точек 10 самых высоких и 10 самых
низких точек каждого года</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>the planets of a horoscope as an HTML page</source>
        <translation>планеты гороскопа страницей HTML</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Usage: kvlove report NAME DATE HH:MM [--place PLACE] [--tz ZONE]
                     [--pdf FILE]

Writes Html/Gradus_html.html under the main directory, the page of the
tab &quot;Планеты Вашего гороскопа&quot;: the zodiac degree of each of the ten
bodies with that degree&apos;s paragraph from Html/gradus.txt. The moment is
Moscow time, taken as universal time + 3 hours all year round; with
--place or --tz, the clock of the place of birth through its zone&apos;s
history, and the page and a second printed line name the place and the
offset used. NAME is UTF-8 text (may be &quot;&quot;); the page is Windows-1251
with CR LF line ends.
DATE is DD.MM.YYYY or YYYY-MM-DD of the years 1900..2100 (with
--lenient-dates day 1..31 of any month, counted on past a short month&apos;s
end as the window does), hour 0..23, minute 0..59. Prints the page&apos;s
path. When the page cannot be completed (a missing or malformed
gradus.txt), the previous page stays as it was.

Example: kvlove report Анна 12.06.1988 07:30 --place &quot;Новосибирск&quot;
</source>
        <translation>Использование: kvlove report NAME DATE ЧЧ:ММ [--place PLACE] [--tz ZONE]
                     [--pdf FILE]

Записывает Html/Gradus_html.html в главном каталоге — страницу вкладки
&quot;Планеты Вашего гороскопа&quot;: градус зодиака каждого из десяти светил
с абзацем об этом градусе из Html/gradus.txt. Момент — московское
время, всемирное + 3 часа круглый год; с --place или --tz — часы места
рождения по истории его пояса, и страница и вторая выведенная строка
называют место и смещение. NAME — текст UTF-8 (может быть &quot;&quot;); страница
в Windows-1251 с концами строк CR LF.
DATE — ДД.ММ.ГГГГ или ГГГГ-ММ-ДД 1900..2100 годов (с --lenient-dates
день 1..31 любого месяца, со счётом дальше конца короткого месяца, как
в окне), час 0..23, минута 0..59. Выводит путь страницы. Если страницу
не удаётся составить (gradus.txt нет или он испорчен), прежняя страница
остаётся как была.

Пример: kvlove report Анна 12.06.1988 07:30 --place &quot;Новосибирск&quot;
</translation>
    </message>
    <message>
        <location line="+33"/>
        <source>the phases of fourteen lunar months from a year&apos;s start</source>
        <translation>фазы четырнадцати лунных месяцев от начала года</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Usage: kvlove phases YEAR [--place PLACE] [--tz ZONE]

The calculate button of the lunar tab for YEAR (0..3000): fourteen
lunations from the one in progress on 1 January, with the dates (UT) of
new moon, first quarter, full moon and last quarter. Writes the listing
file System/F_LunDay.tmp (Windows-1251, CR LF) exactly as the window
does and prints it in UTF-8 with LF line ends. With --tz the dates
printed are those of the zone (the file keeps the window&apos;s); json and
csv give the moments of the phases, a list months of new_moon,
first_quarter, full_moon and last_quarter. --place gives the zone of
its city (the phases are the same everywhere).

Example: kvlove phases 2008 --tz Europe/Moscow --format json
</source>
        <translation>Использование: kvlove phases YEAR [--place PLACE] [--tz ZONE]

Кнопка расчёта лунной вкладки для года YEAR (0..3000): четырнадцать
лунаций от той, что идёт 1 января, с датами (UT) новолуния, первой
четверти, полнолуния и последней четверти. Записывает файл списка
System/F_LunDay.tmp (Windows-1251, CR LF) точно как окно и выводит его
в UTF-8 с концами строк LF. С --tz выводятся даты пояса (файл остаётся
как у окна); json и csv дают моменты фаз, список months из new_moon,
first_quarter, full_moon и last_quarter. --place даёт пояс своего
города (фазы везде одни и те же).

Пример: kvlove phases 2008 --tz Europe/Moscow --format json
</translation>
    </message>
    <message>
        <location line="+21"/>
        <source>the lunar days of one lunar month of a year</source>
        <translation>лунные дни одного лунного месяца года</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Usage: kvlove lunar-days YEAR MONTH [--times] [--place PLACE] [--tz ZONE]

Computes the phase table of YEAR (0..3000) as &apos;kvlove phases&apos; does
(rewriting System/F_LunDay.tmp), then chooses lunar month MONTH (1..14)
as the window&apos;s radio group does. Prints the caption of the list and one
line per lunar day: its number and the date its moonrise falls on, for
an observer at 0 deg E, 51.5 deg N. A lunar day runs from one moonrise to
the next; dates with no moonrise are skipped.

With --place or --tz the lunar days are those of that place, dated in
that zone (a line under the caption names both): each date&apos;s moonrise
is searched from the zone&apos;s midnight, and dates without a moonrise are
skipped however many follow one another. Near and beyond the polar
circles the Moon stays below or above the horizon for days: a lunar day
there lasts from one moonrise to the next however many dates that takes,
two moonrises on one date start two lunar days, and a month may have
far fewer lunar days than 29. json and csv give a list lunar_days of
day, start and end, and the place.

</source>
        <translation>Использование: kvlove lunar-days YEAR MONTH [--times] [--place PLACE] [--tz ZONE]

Считает таблицу фаз года YEAR (0..3000), как &apos;kvlove phases&apos;
(переписывая System/F_LunDay.tmp), затем выбирает лунный месяц MONTH
(1..14), как переключатель окна. Выводит заголовок списка и по строке
на лунный день: его номер и дату, на которую приходится его восход
Луны, для наблюдателя на 0° в. д., 51.5° с. ш. Лунный день длится от
одного восхода Луны до следующего; даты без восхода пропускаются.

С --place или --tz это лунные дни того места, с датами того пояса
(строка под заголовком называет и то и другое): восход на каждую дату
ищется от полуночи пояса, а даты без восхода пропускаются, сколько бы
их ни шло подряд. У полярных кругов и за ними Луна днями не заходит или
не восходит: лунный день там длится от восхода до восхода, сколько бы
дат это ни заняло, два восхода в одну дату начинают два лунных дня,
и в месяце может быть куда меньше 29 лунных дней. json и csv дают
список lunar_days из day, start и end, и место.

</translation>
    </message>
    <message>
        <location line="+22"/>
        <source>Example, the lunar days of Moscow in Moscow time:
  kvlove lunar-days 2008 2 --place Москва --times
</source>
        <translation>Пример: лунные дни Москвы по московскому времени:
  kvlove lunar-days 2008 2 --place Москва --times
</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>add the start and end of each lunar day, tab-separated
(DD.MM.YYYY HH:MM:SS: universal time, or with a zone its
time and offset, 09.01.2008 09:54:00 +03:00)</source>
        <translation>добавить начало и конец каждого лунного дня через
табуляцию (ДД.ММ.ГГГГ ЧЧ:ММ:СС: всемирное время или,
с поясом, его время и смещение, 09.01.2008 09:54:00 +03:00)</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>the start, end and description of one lunar day</source>
        <translation>начало, конец и описание одного лунного дня</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Usage: kvlove lunar-day YEAR MONTH N [--place PLACE] [--tz ZONE]

As &apos;kvlove lunar-days YEAR MONTH&apos;, then a click on line N of the list:
prints the start and end of lunar day N in universal time and its
description from System/DayMoon.doc (UTF-8, LF), and writes
System/TmpFile1.tmp (what is printed) and System/TmpFile2.tmp as the
window does. N must be a line of that list. A description block that
cannot be read is reported on standard error, as the window&apos;s error
box does, and the lookup goes on. A day without a description prints
its start and end, names the day and the file on standard error and
exits with 1.

With --place or --tz, N is a line of the list of that place (see
&apos;kvlove lunar-days --help&apos;); the start and end are given in the zone,
labelled with its offset (UTC+03:00) instead of GMT, and the temporary
files are not written: they keep the window&apos;s lunar day. json and csv
give day, start, end and description.

</source>
        <translation>Использование: kvlove lunar-day YEAR MONTH N [--place PLACE] [--tz ZONE]

Как &apos;kvlove lunar-days YEAR MONTH&apos;, затем щелчок по строке N списка:
выводит начало и конец лунного дня N во всемирном времени и его
описание из System/DayMoon.doc (UTF-8, LF) и записывает
System/TmpFile1.tmp (то, что выведено) и System/TmpFile2.tmp, как окно.
N должно быть строкой этого списка. О блоке описания, который не
удаётся прочесть, сообщается в стандартный поток ошибок, как окно
показывает окно ошибки, и поиск продолжается. Для дня без описания
выводятся его начало и конец, в поток ошибок — день и файл, и код
возврата 1.

С --place или --tz N — строка списка того места (см.
&apos;kvlove lunar-days --help&apos;); начало и конец даются в поясе с его
смещением (UTC+03:00) вместо GMT, а временные файлы не записываются:
в них остаётся лунный день окна. json и csv дают day, start, end
и description.

</translation>
    </message>
    <message>
        <location line="+21"/>
        <source>Example: kvlove lunar-day 2008 2 1 --place Москва
</source>
        <translation>Пример: kvlove lunar-day 2008 2 1 --place Москва
</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>the solar and lunar eclipses of a year</source>
        <translation>солнечные и лунные затмения года</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Usage: kvlove eclipses YEAR [--details] [--place PLACE] [--tz ZONE]

The eclipse list of the eclipses tab for YEAR (1900..2050), line for line:
title, column header, one line per eclipse from 1 January 00:00 to
1 January 00:00 of the next year (number, date and time in universal
time, zodiac degree of the Sun or the Moon, kind and type), closing note.
With --tz the year, the dates and the times are the zone&apos;s, and the
note names it. json and csv give a list eclipses of number, instant,
kind (solar, lunar) and type (total, annular, partial, hybrid,
penumbral) with kind_ru and type_ru (the list&apos;s words), zodiac_degree
and longitude (of the Sun or the Moon, degrees), with --details also
day_number, magnitude, partial_hours and central_hours.

With --place, the times are the zone&apos;s of the place, and each eclipse
is seen from there (the Swiss Ephemeris&apos; local circumstances; the list&apos;s
instants stay those of the program&apos;s search): visible (some phase with
the Sun or the Moon above the horizon), maximum_visible (the greatest
phase so), local_maximum (the greatest phase there, ISO 8601 with the
zone&apos;s offset; none when not visible) and local_magnitude. Text adds
them to each line, tab-separated (&quot;видно&quot; or &quot;не видно&quot;, &quot;максимум
виден&quot; or &quot;максимум не виден&quot;, the local maximum or &quot;-&quot;) and a last
line naming the place.

Examples:
  kvlove eclipses 1999 --tz Europe/Moscow
  kvlove eclipses 2026 --place Мадрид --format json
</source>
        <translation>Использование: kvlove eclipses YEAR [--details] [--place PLACE] [--tz ZONE]

Список затмений вкладки затмений для года YEAR (1900..2050), строка
в строку: заглавие, шапка, по строке на затмение от 1 января 00:00 до
1 января 00:00 следующего года (номер, дата и время во всемирном
времени, градус зодиака Солнца или Луны, вид и тип), заключительная
строка. С --tz год, даты и время — пояса, и заключительная строка его
называет. json и csv дают список eclipses из number, instant, kind
(solar, lunar) и type (total, annular, partial, hybrid, penumbral)
с kind_ru и type_ru (слова списка), zodiac_degree и longitude (Солнца
или Луны, в градусах), с --details ещё day_number, magnitude,
partial_hours и central_hours.

С --place время — пояса места, и каждое затмение видно оттуда
(местные обстоятельства Swiss Ephemeris; моменты списка остаются
моментами поиска программы): visible (какая-то фаза при Солнце или Луне
над горизонтом), maximum_visible (так же наибольшая фаза), local_maximum
(наибольшая фаза там, ISO 8601 со смещением пояса; нет, если не видно)
и local_magnitude. Текст добавляет их к каждой строке через табуляцию
(&quot;видно&quot; или &quot;не видно&quot;, &quot;максимум виден&quot; или &quot;максимум не виден&quot;,
местный максимум или &quot;-&quot;) и последнюю строку с местом.

Примеры:
  kvlove eclipses 1999 --tz Europe/Moscow
  kvlove eclipses 2026 --place Мадрид --format json
</translation>
    </message>
    <message>
        <location line="+29"/>
        <source>append to each eclipse line, tab-separated: the instant as a
day number (days since 1899-12-31 12:00 UT, 17 significant
digits), the magnitude (6 decimals), the hours of the partial
phase and of the central (solar) or total (lunar) phase
(4 decimals, 0 when there is none)</source>
        <translation>добавить к строке каждого затмения через табуляцию:
момент номером дня (дни от 1899-12-31 12:00 UT, 17 значащих
цифр), величину (6 знаков), часы частной фазы и центральной
(солнечного) или полной (лунного) фазы (4 знака, 0, если
её нет)</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>the lunar day of today (or of --at) at a place</source>
        <translation>лунный день сегодня (или в --at) в месте</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Usage: kvlove today [--place PLACE] [--tz ZONE] [--at &apos;DATE HH:MM&apos;]

The lunar day now, or at the moment --at gives by the clock of the
place, for the observer and zone of --place and --tz (default the
window&apos;s observer in GMT): its number, start and end (the moonrises of
the place, as &apos;kvlove lunar-days&apos; finds them), the Moon&apos;s phase and lit
fraction at the moment, and the day&apos;s description from
System/DayMoon.doc. Writes no file. json gives lunar_day, start, end,
description, illumination (0..1), phase (new_moon, waxing_crescent,
first_quarter, waxing_gibbous, full_moon, waning_gibbous, last_quarter,
waning_crescent) and phase_ru, with the place.

</source>
        <translation>Использование: kvlove today [--place PLACE] [--tz ZONE] [--at &apos;DATE ЧЧ:ММ&apos;]

Лунный день сейчас или в момент, который --at даёт по часам места, для
наблюдателя и пояса из --place и --tz (по умолчанию наблюдатель окна
по GMT): его номер, начало и конец (восходы Луны в том месте, как их
находит &apos;kvlove lunar-days&apos;), фаза Луны и освещённая доля в этот
момент и описание дня из System/DayMoon.doc. Файлов не записывает.
json дают lunar_day, start, end, description, illumination (0..1),
phase (new_moon, waxing_crescent, first_quarter, waxing_gibbous,
full_moon, waning_gibbous, last_quarter, waning_crescent) и phase_ru,
с местом.

</translation>
    </message>
    <message>
        <location line="+16"/>
        <source>Examples:
  kvlove today --place Новосибирск
  kvlove today --place Москва --at &apos;01.01.2027 12:00&apos; --format json
</source>
        <translation>Примеры:
  kvlove today --place Новосибирск
  kvlove today --place Москва --at &apos;01.01.2027 12:00&apos; --format json
</translation>
    </message>
    <message>
        <location line="+34"/>
        <source>Options:</source>
        <translation>Параметры:</translation>
    </message>
    <message>
        <location filename="../main.cpp" line="+56"/>
        <source>Exit status: 0 done, 1 the computation failed (the window&apos;s message is
printed) or its result could not be written to standard output (a full
disk, a closed pipe or stream), 2 bad input.
</source>
        <translation>Код возврата: 0 — готово, 1 — расчёт не удался (выводится сообщение
окна) или его результат не удалось записать в стандартный вывод
(диск полон, канал или поток закрыт), 2 — неверный ввод.
</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>cannot read the current directory</source>
        <translation>не удаётся прочесть текущий каталог</translation>
    </message>
    <message>
        <location line="+29"/>
        <source>%1 needs %2</source>
        <translation>%1: нужно %2</translation>
    </message>
    <message>
        <location line="+25"/>
        <location line="+25"/>
        <source>a directory</source>
        <translation>имя каталога</translation>
    </message>
    <message>
        <location line="-13"/>
        <source>unknown command &apos;%1&apos; (see kvlove --help)</source>
        <translation>неизвестная команда «%1» (см. kvlove --help)</translation>
    </message>
    <message>
        <location line="+19"/>
        <source>unknown option &apos;%1&apos; for %2</source>
        <translation>неизвестный параметр «%1» для %2</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>%1 takes no value</source>
        <translation>%1 не принимает значения</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>a value</source>
        <translation>значение</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>wrong number of arguments for %1 (see kvlove %1 --help)</source>
        <translation>неверное число аргументов для %1 (см. kvlove %1 --help)</translation>
    </message>
    <message>
        <location filename="../output.cpp" line="+65"/>
        <source>Cannot write the result to standard output. %1</source>
        <translation>Не удаётся записать результат в стандартный вывод. %1</translation>
    </message>
    <message>
        <location line="+62"/>
        <source>unknown format &apos;%1&apos; (text, json or csv)</source>
        <translation>неизвестный формат «%1» (text, json или csv)</translation>
    </message>
    <message>
        <location filename="../places.cpp" line="+40"/>
        <source>%1: --place takes only LAT,LON</source>
        <translation>%1: --place принимает только LAT,LON</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>&apos;%1&apos; begins the names of several cities; give the name in full, or its region or country after a comma (--place &quot;%2, %3&quot;):%4</source>
        <translation>«%1» — начало названий нескольких городов; уточните название, регион или страну через запятую (--place &quot;%2, %3&quot;):%4</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>; and %1 more</source>
        <translation>; и ещё %1</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>no city &apos;%1&apos; in the atlas (or LAT,LON in degrees: 55.75,37.62)</source>
        <translation>города «%1» нет в атласе (или LAT,LON в градусах: 55.75,37.62)</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>no city &apos;%1&apos; in the atlas; the nearest names:%2</source>
        <translation>города «%1» нет в атласе; ближайшие названия:%2</translation>
    </message>
    <message>
        <location line="+29"/>
        <source>--place is empty: it takes a city of the atlas or LAT,LON in degrees</source>
        <translation>пустое место в --place: нужен город атласа или LAT,LON в градусах</translation>
    </message>
    <message>
        <location line="+46"/>
        <source>the time %1 %2 never was in the zone %3: the clock was put forward from %4 to %5</source>
        <translation>времени %1 %2 в поясе %3 не было: часы переводили вперёд с %4 на %5</translation>
    </message>
    <message>
        <location line="+17"/>
        <source>a place of birth given as LAT,LON needs a time zone: --tz Europe/Moscow or --tz +03:00</source>
        <translation>для места рождения LAT,LON нужен часовой пояс: --tz Europe/Moscow или --tz +03:00</translation>
    </message>
    <message>
        <location filename="../commands.cpp" line="-27"/>
        <source>the moment by the clock of the place (of --tz), the date
DD.MM.YYYY or YYYY-MM-DD; a time the clock skipped is
refused, one it showed twice is taken the first time;
default now</source>
        <translation>момент по часам места (пояса --tz), дата ДД.ММ.ГГГГ или
ГГГГ-ММ-ДД; время, пропущенное часами, не принимается,
показанное дважды берётся в первый раз; по умолчанию
сейчас</translation>
    </message>
    <message>
        <location filename="../main.cpp" line="-139"/>
        <source>Usage: kvlove [--main-dir DIR] [--] COMMAND [ARGS...]
       kvlove COMMAND --help
       kvlove --version

Korvella Love from the command line: the computations of the window,
writing the same files byte for byte. Times are HH:MM[:SS], dates
DD.MM.YYYY or YYYY-MM-DD. DD.MM.YYYY is the window&apos;s calendar, Julian
before 15.10.1582, with -1 for 1 BC; YYYY-MM-DD is ISO 8601&apos;s, Gregorian
also before 1582, with 0000 for 1 BC, as json and csv write dates. A date
that does not exist (31.02.2020, 10.10.1582) is refused; a command&apos;s
--lenient-dates takes day 1..31 of any month as the window does.

The help and the messages are in Russian when the locale of messages
(LC_ALL, LC_MESSAGES, LANG) is Russian, in English otherwise; the
results are the same in both.

Options may stand before or after the command. Every command prints its
result as text, or with --format json or --format csv for other programs.

Options:
  --main-dir DIR  the program&apos;s main directory, under which data files are
                  read and written as the window does (Html/, System/);
                  default: $KVLOVE_MAIN_DIR, which the installed kvlove sets
                  to the window&apos;s working directory, else the current one;
                  also --main-dir=DIR
  --              ends the options: the words after it are arguments even
                  when they begin with &quot;-&quot; (a name, a negative year)
  --help          this text
  --version       the program&apos;s version

Commands:
</source>
        <translation>Использование: kvlove [--main-dir DIR] [--] COMMAND [ARGS...]
       kvlove COMMAND --help
       kvlove --version

Korvella Love из командной строки: расчёты окна, записывающие те же
файлы байт в байт. Время — ЧЧ:ММ[:СС], даты — ДД.ММ.ГГГГ или
ГГГГ-ММ-ДД. ДД.ММ.ГГГГ — календарь окна, юлианский до 15.10.1582,
с -1 для 1 года до н. э.; ГГГГ-ММ-ДД — календарь ISO 8601,
григорианский и до 1582 года, с 0000 для 1 года до н. э., как даты
пишут json и csv. Несуществующая дата (31.02.2020, 10.10.1582) не
принимается; параметр команды --lenient-dates принимает день 1..31
любого месяца, как окно.

Справка и сообщения выводятся по-русски, когда локаль сообщений
(LC_ALL, LC_MESSAGES, LANG) русская, и по-английски иначе; результаты
в обоих случаях одни и те же.

Параметры можно ставить до или после команды. Каждая команда выводит
результат текстом или, с --format json или --format csv, для других
программ.

Параметры:
  --main-dir DIR  главный каталог программы, в котором файлы данных
                  читаются и пишутся, как в окне (Html/, System/);
                  по умолчанию $KVLOVE_MAIN_DIR, который установленный
                  kvlove задаёт рабочим каталогом окна, иначе текущий;
                  также --main-dir=DIR
  --              конец параметров: слова после него — аргументы, даже
                  если начинаются с &quot;-&quot; (имя, отрицательный год)
  --help          этот текст
  --version       версия программы

Команды:
</translation>
    </message>
</context>
</TS>
