// The program's running flag, which the application object owns.
int g_bRunning = 1;
