import os, sys, time
from desktop import MAIN, HANDHELD, Program, insert, run, press, wait
out = sys.argv[1]
with Program() as p:
    p.start()
    p.press("Microsoft", "SERIES X")
    time.sleep(1.2)
    run("import", "-window", p.window_id(MAIN), os.path.join(out, "main-window.png"))
    insert(p.pad(), "Buy a Series X controller\nTry the 2600 again in 2045")
    insert(p.control(p.page("Custom"), "text", "Count-up from date"), "01/01/2000 22:00:00")
    p.press("Custom", "Submit")
    time.sleep(1.2)
    run("import", "-window", p.window_id(MAIN), os.path.join(out, "custom-page.png"))
    p.press("Nintendo", "Handhelds")
    press(p.control(p.window(HANDHELD), "push button", "Nintendo DS"))
    time.sleep(1.2)
    run("import", "-window", p.window_id(HANDHELD), os.path.join(out, "handheld-window.png"))
