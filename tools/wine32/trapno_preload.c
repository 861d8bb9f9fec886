/*
 * Preloaded into 32-bit Linux processes that run under qemu's i386 user-mode
 * emulator (the 32-bit Wine of scripts/wine32.sh).
 *
 * Why: for a synchronous signal the Linux kernel stores the CPU's trap number
 * in the signal context (uc_mcontext.gregs[REG_TRAPNO]); qemu leaves it at
 * -1. Wine's i386 signal handlers choose the Windows exception by that
 * number, so under the emulator every page fault that Wine would resolve
 * itself (guard pages, write watches, copy-on-write sections) becomes
 * "unexpected trap -1" and an illegal-instruction exception instead.
 *
 * This library wraps sigaction(): a handler that asks for siginfo on SIGSEGV,
 * SIGBUS, SIGILL, SIGFPE or SIGTRAP is registered behind a trampoline that
 * writes the number the kernel would have written, derived from the signal
 * and its si_code, and then calls the program's handler. Contexts that
 * already carry a trap number (a real kernel) and signals sent by other
 * processes are passed on untouched. Asking for the current action returns
 * the program's own handler, never the trampoline.
 *
 * Build: i686-linux-gnu-gcc -shared -fPIC -O2 -o trapno_preload.so
 *        trapno_preload.c -ldl
 */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <signal.h>
#include <stddef.h>
#include <ucontext.h>

#if !defined(__i386__)
#error "the trap number bridge is for 32-bit x86 guests only"
#endif

/* x86 exception vectors, as the kernel reports them in REG_TRAPNO. */
enum {
    TRAP_DIVIDE = 0,
    TRAP_DEBUG = 1,
    TRAP_BREAKPOINT = 3,
    TRAP_INVALID_OPCODE = 6,
    TRAP_GENERAL_PROTECTION = 13,
    TRAP_PAGE_FAULT = 14,
    TRAP_X87_FLOAT = 16,
    TRAP_ALIGNMENT = 17,
};

typedef int (*sigaction_fn)(int, const struct sigaction *, struct sigaction *);
typedef void (*siginfo_handler)(int, siginfo_t *, void *);

/* The program's handler per signal, as it asked for it. Written before the
 * trampoline is installed for that signal, read only inside the trampoline. */
static volatile siginfo_handler program_handlers[_NSIG];

static sigaction_fn real_sigaction(void)
{
    static sigaction_fn real;
    if (!real)
        real = (sigaction_fn)dlsym(RTLD_NEXT, "sigaction");
    return real;
}

static int is_bridged_signal(int sig)
{
    return sig == SIGSEGV || sig == SIGBUS || sig == SIGILL || sig == SIGFPE || sig == SIGTRAP;
}

/* The vector the kernel reports for a fault of this kind. */
static int trap_number(int sig, int code)
{
    switch (sig) {
    case SIGSEGV:
        /* Faults on a page carry SEGV_MAPERR/SEGV_ACCERR; protection faults
         * (privileged instructions, bad segments, int nn) come as SI_KERNEL. */
        return code == SI_KERNEL ? TRAP_GENERAL_PROTECTION : TRAP_PAGE_FAULT;
    case SIGBUS:
        return code == BUS_ADRALN ? TRAP_ALIGNMENT : TRAP_PAGE_FAULT;
    case SIGILL:
        return TRAP_INVALID_OPCODE;
    case SIGFPE:
        return code == FPE_INTDIV || code == FPE_INTOVF ? TRAP_DIVIDE : TRAP_X87_FLOAT;
    case SIGTRAP:
        /* int3 arrives as SI_KERNEL; single steps and hardware breakpoints
         * carry a TRAP_* code. */
        return code == SI_KERNEL ? TRAP_BREAKPOINT : TRAP_DEBUG;
    default:
        return -1;
    }
}

static void trampoline(int sig, siginfo_t *info, void *context)
{
    ucontext_t *uc = context;
    /* si_code > 0 is a fault the kernel raised; <= 0 came from kill/raise. */
    if (uc && info && info->si_code > 0 && uc->uc_mcontext.gregs[REG_TRAPNO] == -1)
        uc->uc_mcontext.gregs[REG_TRAPNO] = trap_number(sig, info->si_code);
    program_handlers[sig](sig, info, context);
}

int sigaction(int sig, const struct sigaction *act, struct sigaction *old)
{
    sigaction_fn real = real_sigaction();
    if (!real)
        return -1;
    if (!is_bridged_signal(sig))
        return real(sig, act, old);

    siginfo_handler previous = program_handlers[sig];
    int rc;
    if (act && (act->sa_flags & SA_SIGINFO) && act->sa_handler != SIG_DFL && act->sa_handler != SIG_IGN) {
        struct sigaction wrapped = *act;
        program_handlers[sig] = act->sa_sigaction;
        wrapped.sa_sigaction = trampoline;
        rc = real(sig, &wrapped, old);
        if (rc != 0)
            program_handlers[sig] = previous;
    } else {
        rc = real(sig, act, old);
    }
    if (rc == 0 && old && (old->sa_flags & SA_SIGINFO) && old->sa_sigaction == trampoline)
        old->sa_sigaction = previous;
    return rc;
}
