@echo off
rem Tabulon without a cash register: a simulated register on a local network
rem port, and the window started with COM1 pointed at it. The demo keeps its
rem own settings file, apart from the user's.
rem   demo.cmd [mp-550t ^| mp-50-junior ^| neon]
setlocal
set "model=%~1"
if "%model%"=="" set "model=mp-550t"
set "address=tcp://127.0.0.1:45501"
set "folder=%LOCALAPPDATA%\Tabulon\demo"
if "%LOCALAPPDATA%"=="" set "folder=%TEMP%\Tabulon\demo"
if not exist "%folder%" mkdir "%folder%"
rem The redirection first: the port's last digit before ">" would be read as
rem a handle number.
if not exist "%folder%\Tabulon.ini" (
    > "%folder%\Tabulon.ini" echo [Ports]
    >> "%folder%\Tabulon.ini" echo COM1=%address%
)
rem A register left running by an earlier demo holds the port: it is ended
rem first, so that the one started now is the model asked for.
taskkill /fi "WINDOWTITLE eq Tabulon demo register*" /f > nul 2>&1
start "Tabulon demo register" /min "%~dp0tabulon-sim.exe" --model %model% --listen %address%
echo Simulated register (%model%) on %address% as COM1; settings in %folder%\Tabulon.ini
start "" /wait /d "%folder%" "%~dp0tabulon.exe"
taskkill /fi "WINDOWTITLE eq Tabulon demo register*" /f > nul 2>&1
endlocal
