/*
 * A 32-bit Windows program that needs Wine to tell page faults apart: Wine
 * resolves some itself (write watches, guard pages) and turns the rest into
 * access violations. Under the emulator that only works when the trap number
 * reaches Wine's signal handler (trapno_preload.c); without it each of these
 * ends as an illegal instruction. Exit status 0 when all behave as on
 * Windows.
 */
#include <windows.h>
#include <stdio.h>

static volatile LONG last_exception;

/* Skips the faulting 5-byte load below, so the program goes on. */
static LONG CALLBACK record_exception(EXCEPTION_POINTERS *info)
{
    DWORD code = info->ExceptionRecord->ExceptionCode;
    last_exception = (LONG)code;
    if (code == EXCEPTION_ACCESS_VIOLATION || code == EXCEPTION_ILLEGAL_INSTRUCTION) {
        info->ContextRecord->Eip += 5;
        return EXCEPTION_CONTINUE_EXECUTION;
    }
    if (code == STATUS_GUARD_PAGE_VIOLATION)
        return EXCEPTION_CONTINUE_EXECUTION;
    return EXCEPTION_CONTINUE_SEARCH;
}

static int check(const char *what, int ok, LONG seen)
{
    printf("%s %s (exception %#lx)\n", ok ? "ok  " : "FAIL", what, (unsigned long)seen);
    return ok ? 0 : 1;
}

int main(void)
{
    AddVectoredExceptionHandler(1, record_exception);
    int failures = 0;

    /* mov eax, [0]: five bytes, skipped by the handler. */
    last_exception = 0;
    __asm__ volatile(".byte 0xa1, 0x00, 0x00, 0x00, 0x00" ::: "eax", "memory");
    failures += check("a null read is an access violation",
                      last_exception == (LONG)EXCEPTION_ACCESS_VIOLATION, last_exception);

    /* The first touch of a guard page raises once, and then the page is
     * ordinary memory. */
    SYSTEM_INFO si;
    GetSystemInfo(&si);
    volatile char *guarded =
        VirtualAlloc(NULL, si.dwPageSize, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE | PAGE_GUARD);
    last_exception = 0;
    guarded[0] = 1;
    failures += check("a guard page raises a guard page violation",
                      last_exception == (LONG)STATUS_GUARD_PAGE_VIOLATION, last_exception);
    last_exception = 0;
    guarded[1] = 2;
    failures += check("the guard is gone after the first touch", last_exception == 0 && guarded[1] == 2,
                      last_exception);

    /* Wine sees writes to watched memory as page faults it absorbs. */
    char *watched = VirtualAlloc(NULL, 4 * si.dwPageSize, MEM_COMMIT | MEM_RESERVE | MEM_WRITE_WATCH,
                                 PAGE_READWRITE);
    last_exception = 0;
    watched[si.dwPageSize * 2] = 1;
    void *pages[4];
    ULONG_PTR count = 4;
    DWORD granularity = 0;
    UINT rc = GetWriteWatch(0, watched, 4 * si.dwPageSize, pages, &count, &granularity);
    failures += check("a write watch sees the one page written",
                      rc == 0 && count == 1 && pages[0] == watched + si.dwPageSize * 2 && last_exception == 0,
                      last_exception);
    return failures ? 1 : 0;
}
