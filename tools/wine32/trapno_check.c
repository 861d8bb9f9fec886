/*
 * Checks, inside the emulator, that faults reach a siginfo handler with the
 * trap number a real kernel reports, as Wine's i386 signal handlers expect:
 * run with trapno_preload.so it must pass; without it qemu's -1 shows.
 * Exit status 0 when every fault carried its number.
 */
#define _GNU_SOURCE
#include <setjmp.h>
#include <signal.h>
#include <stdio.h>
#include <string.h>
#include <sys/mman.h>
#include <ucontext.h>

static sigjmp_buf resume;
static volatile int seen_signal;
static volatile int seen_trapno;
static volatile int seen_err;

static void record_fault(int sig, siginfo_t *info, void *context)
{
    (void)info;
    ucontext_t *uc = context;
    seen_signal = sig;
    seen_trapno = uc->uc_mcontext.gregs[REG_TRAPNO];
    seen_err = uc->uc_mcontext.gregs[REG_ERR];
    siglongjmp(resume, 1);
}

static volatile int zero;
static volatile int one = 1;
static volatile char *read_only_page;

static void write_read_only(void) { read_only_page[0] = 1; }
static void read_null(void) { (void)*(volatile int *)0; }
static void invalid_opcode(void) { __asm__ volatile("ud2"); }
/* Both operands volatile: a constant dividend lets the compiler replace
 * the division with a comparison. */
static void divide_by_zero(void) { zero = one / zero; }
static void breakpoint(void) { __asm__ volatile("int3"); }
/* Wine's debug service interrupt: a protection fault in user mode. */
static void software_interrupt(void) { __asm__ volatile("int $0x2d"); }

struct fault_case {
    const char *name;
    void (*raise)(void);
    int signal;
    int trapno;
};

static const struct fault_case cases[] = {
    {"write to a read-only page", write_read_only, SIGSEGV, 14},
    {"read of an unmapped page", read_null, SIGSEGV, 14},
    {"invalid opcode", invalid_opcode, SIGILL, 6},
    {"integer divide by zero", divide_by_zero, SIGFPE, 0},
    {"breakpoint", breakpoint, SIGTRAP, 3},
    {"int 0x2d", software_interrupt, SIGSEGV, 13},
};

static int install(int sig)
{
    struct sigaction act;
    memset(&act, 0, sizeof act);
    act.sa_sigaction = record_fault;
    act.sa_flags = SA_SIGINFO | SA_NODEFER;
    sigemptyset(&act.sa_mask);
    if (sigaction(sig, &act, NULL) != 0)
        return -1;
    /* A program that saves and restores handlers must get its own back. */
    struct sigaction current;
    if (sigaction(sig, NULL, &current) != 0 || current.sa_sigaction != record_fault) {
        printf("FAIL sigaction(%d) reports a handler that is not the program's\n", sig);
        return -1;
    }
    return 0;
}

int main(void)
{
    static const int signals[] = {SIGSEGV, SIGBUS, SIGILL, SIGFPE, SIGTRAP};
    for (size_t i = 0; i < sizeof signals / sizeof signals[0]; ++i)
        if (install(signals[i]) != 0)
            return 1;
    read_only_page = mmap(NULL, 4096, PROT_READ, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (read_only_page == MAP_FAILED)
        return 1;

    int failures = 0;
    for (size_t i = 0; i < sizeof cases / sizeof cases[0]; ++i) {
        const struct fault_case *c = &cases[i];
        seen_signal = 0;
        if (sigsetjmp(resume, 1) == 0) {
            c->raise();
            printf("FAIL %s: no signal\n", c->name);
            ++failures;
            continue;
        }
        int ok = seen_signal == c->signal && seen_trapno == c->trapno;
        printf("%s %s: signal %d (want %d), trapno %d (want %d), err %#x\n", ok ? "ok  " : "FAIL",
               c->name, seen_signal, c->signal, seen_trapno, c->trapno, (unsigned)seen_err);
        failures += !ok;
    }
    return failures ? 1 : 0;
}
