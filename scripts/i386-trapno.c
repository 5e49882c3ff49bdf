/* Preloaded into 32-bit programs that run under user-mode emulation (scripts/i386-emulation.sh).
 *
 * The emulator builds a fault's signal frame without the processor's trap number (it leaves
 * -1 there), and Wine's i386 signal handlers dispatch on that number: every memory fault
 * would become "unexpected trap", an illegal instruction instead of an access violation.
 * This library wraps sigaction() for the fault signals and fills in the trap number the
 * kernel would have given, from the signal and its si_code, before Wine's handler runs.
 *
 * Built for amd64 too, as an empty library: /etc/ld.so.preload names it through $LIB, and a
 * missing file there makes every 64-bit program of the root complain. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <signal.h>
#include <ucontext.h>

#ifdef __i386__

typedef void (*handler_fn)(int, siginfo_t *, void *);
typedef int (*sigaction_fn)(int, const struct sigaction *, struct sigaction *);

/* The handlers the program installed for the wrapped signals. */
static handler_fn handlers[NSIG];

enum {
    TRAP_DIVIDE = 0, TRAP_SINGLESTEP = 1, TRAP_BREAKPOINT = 3, TRAP_INVALID_OPCODE = 6,
    TRAP_GENERAL_PROTECTION = 13, TRAP_PAGE_FAULT = 14, TRAP_X87 = 16, TRAP_ALIGNMENT = 17
};

static int wrapped(int sig) {
    return sig == SIGSEGV || sig == SIGBUS || sig == SIGILL || sig == SIGFPE || sig == SIGTRAP;
}

/* What the kernel reports for the exception behind a signal. */
static int trap_number(int sig, int code) {
    switch (sig) {
    case SIGSEGV:
        return code == SEGV_MAPERR || code == SEGV_ACCERR ? TRAP_PAGE_FAULT : TRAP_GENERAL_PROTECTION;
    case SIGBUS:
        return code == BUS_ADRALN ? TRAP_ALIGNMENT : TRAP_PAGE_FAULT;
    case SIGILL:
        return TRAP_INVALID_OPCODE;
    case SIGFPE:
        return code == FPE_INTDIV || code == FPE_INTOVF ? TRAP_DIVIDE : TRAP_X87;
    default: /* SIGTRAP: int3 arrives as TRAP_BRKPT or SI_KERNEL */
        return code == TRAP_TRACE ? TRAP_SINGLESTEP : TRAP_BREAKPOINT;
    }
}

static void fill_trap_number(int sig, siginfo_t *info, void *context) {
    greg_t *trapno = &((ucontext_t *)context)->uc_mcontext.gregs[REG_TRAPNO];
    /* A processor only ever reports 0..31; anything else was left unset. */
    if (*trapno < 0 || *trapno > 31)
        *trapno = trap_number(sig, info->si_code);
    handlers[sig](sig, info, context);
}

int sigaction(int sig, const struct sigaction *act, struct sigaction *old) {
    static sigaction_fn real;
    if (!real)
        real = (sigaction_fn)dlsym(RTLD_NEXT, "sigaction");
    if (!wrapped(sig))
        return real(sig, act, old);

    handler_fn previous = handlers[sig];
    struct sigaction mine;
    const struct sigaction *installed = act;
    if (act && (act->sa_flags & SA_SIGINFO)) {
        /* Set before installing: the signal may arrive at once. */
        handlers[sig] = act->sa_sigaction;
        mine = *act;
        mine.sa_sigaction = fill_trap_number;
        installed = &mine;
    }
    int rc = real(sig, installed, old);
    if (rc != 0)
        handlers[sig] = previous;
    else if (old && (old->sa_flags & SA_SIGINFO) && old->sa_sigaction == fill_trap_number)
        old->sa_sigaction = previous;
    return rc;
}

#endif
