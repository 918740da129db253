/* Preloaded into every process of the sanitizer run: libraries stay loaded until the
 * process ends. LeakSanitizer checks at exit, after libraries a process opened at run
 * time may have been closed (the GL driver goes with the program's display connection);
 * their global data is gone by then, so blocks they keep for their own lifetime look
 * leaked, and the frames of anything they allocated can no longer be named, which
 * leaves a suppression nothing to match. The sanitizer runtime has no option to keep
 * them, so closing becomes a no-op here. */
int dlclose(void *handle)
{
    (void)handle;
    return 0;
}
