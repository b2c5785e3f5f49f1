# Writes the one self-contained page: the template with the program's name
# (NAME), the page's script and the program's builds (their code inside) put in
# place. Each build is held as text (a script the browser does not run, named
# by its file, velmar-web or velmar-web-js) until the page runs the one it
# picks: a browser then parses only the build it runs.
file(READ ${TEMPLATE} page)
file(READ ${PAGE_SCRIPT} page_script)
set(programs "")
foreach(script IN LISTS PROGRAM_SCRIPTS)
    file(READ ${script} program)
    get_filename_component(id ${script} NAME_WE)
    # A "</script" inside a script would end it early.
    string(REPLACE "</script" "<\\/script" program "${program}")
    string(APPEND programs "<script type=\"text/plain\" id=\"${id}\">\n${program}</script>\n")
endforeach()
string(REPLACE "@VELMAR_NAME@" "${NAME}" page "${page}")
string(REPLACE "@VELMAR_PAGE_SCRIPT@" "${page_script}" page "${page}")
string(REPLACE "@VELMAR_PROGRAM_SCRIPTS@" "${programs}" page "${page}")
file(WRITE ${OUTPUT} "${page}")
