/*
 * uart-sink - host side of run-in-vm --uart-midi FILE --uart-baud BAUD.
 *
 * qemu writes the emulated UART's output into a FIFO; this program drains
 * the FIFO at BAUD/10 bytes per second (8N1 framing, like a MIDI DIN cable at
 * 31250 baud = 3125 bytes/s) and appends the bytes to OUTFILE.  The FIFO is
 * shrunk to one page, so when the guest sends faster than the "wire" the FIFO
 * fills up, qemu's 16550 stops reporting "transmitter empty", and the guest's
 * UART driver and the ALSA rawmidi buffers behind it fill up just as they
 * would in front of real MIDI hardware.
 *
 * With a fourth argument LOGFILE, every write is logged as a line
 * "<monotonic seconds> <bytes so far>", so a test can time the wire. The
 * time is taken when the read returns: a read that waited for the guest
 * (the line was idle) must not date its bytes back to the start of the wait.
 *
 * usage: uart-sink FIFO OUTFILE BAUD [LOGFILE]
 */
#define _GNU_SOURCE
#include <errno.h>
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/ioctl.h>
#include <time.h>
#include <unistd.h>

static double now(void)
{
	struct timespec ts;
	clock_gettime(CLOCK_MONOTONIC, &ts);
	return ts.tv_sec + ts.tv_nsec / 1e9;
}

static int fail(const char *what)
{
	perror(what);
	return 1;
}

int main(int argc, char **argv)
{
	double bps = argc == 4 || argc == 5 ? atof(argv[3]) / 10.0 : 0;
	if (bps <= 0) {
		fprintf(stderr, "usage: uart-sink FIFO OUTFILE BAUD [LOGFILE] (BAUD > 0)\n");
		return 2;
	}
	int out = open(argv[2], O_WRONLY | O_CREAT | O_TRUNC, 0644);
	if (out < 0)
		return fail(argv[2]);
	FILE *log = NULL;
	if (argc == 5 && !(log = fopen(argv[4], "w")))
		return fail(argv[4]);
	size_t total = 0;
	int in = open(argv[1], O_RDONLY);   /* blocks until qemu opens it */
	if (in < 0)
		return fail(argv[1]);
	fcntl(in, F_SETPIPE_SZ, 4096);
	/* Token bucket. An idle line saves at most one 16550 FIFO (16 bytes)
	 * of burst; but bytes that were already waiting in the FIFO when the
	 * sink last looked were on the wire all along, so time this process
	 * lost to the host's scheduler is made up for them instead of slowing
	 * the wire down. */
	double t_last = now(), credit = 0;
	int waiting = 0;
	unsigned char buf[4096];
	for (;;) {
		double t = now();
		credit += (t - t_last) * bps;
		t_last = t;
		double cap = waiting > 16 ? waiting : 16;
		if (credit > cap)
			credit = cap;
		if (credit < 1) {
			if (ioctl(in, FIONREAD, &waiting) < 0)
				waiting = 0;
			usleep((useconds_t)((1 - credit) / bps * 1e6) + 1);
			continue;
		}
		ssize_t n = read(in, buf, (size_t)credit < sizeof buf ? (size_t)credit : sizeof buf);
		if (n == 0)
			break;              /* qemu closed the FIFO */
		if (n < 0 && errno == EINTR)
			continue;
		if (n < 0)
			return fail("read");
		credit -= n;
		double t_read = now();
		/* A read that had to wait for the guest waited on an idle line:
		 * that time is no credit. */
		if (waiting == 0)
			t_last = t_read;
		if (write(out, buf, n) != n)
			return fail("write");
		total += (size_t)n;
		if (ioctl(in, FIONREAD, &waiting) < 0)
			waiting = 0;
		if (log)
			fprintf(log, "%.6f %zu\n", t_read, total);
	}
	if (log)
		fclose(log);
	return 0;
}
