# The fonts a desktop may have. The layout tests run once more under each setup below, beside the
# machine's own fonts: a setup is a fontconfig file that offers only its font files (linked into a
# folder of its own in the build tree) and prefers its faces for sans-serif, with the hinting
# desktops use. A setup whose files are missing is one failing test that names its packages.

set(TESSARYN_FONT_SETUPS "")
file(GLOB_RECURSE _tessaryn_font_files LIST_DIRECTORIES false
     /usr/share/fonts/*.ttf /usr/share/fonts/*.otf
     /usr/local/share/fonts/*.ttf /usr/local/share/fonts/*.otf)

# tessaryn_font_setup(<name> PACKAGES <package>... PREFER <family>... FILES <file name>...
#                     [HINTING hintslight|hintfull])
function(tessaryn_font_setup name)
  cmake_parse_arguments(ARG "" "HINTING" "PACKAGES;PREFER;FILES" ${ARGN})
  if(NOT ARG_HINTING)
    set(ARG_HINTING hintslight)
  endif()
  set(dir ${CMAKE_BINARY_DIR}/fontconfig/${name})
  file(REMOVE_RECURSE ${dir}/fonts)
  file(MAKE_DIRECTORY ${dir}/fonts)
  set(missing "")
  foreach(file_name IN LISTS ARG_FILES)
    set(found "")
    foreach(path IN LISTS _tessaryn_font_files)
      get_filename_component(path_name ${path} NAME)
      if(path_name STREQUAL file_name)
        set(found ${path})
        break()
      endif()
    endforeach()
    if(found)
      file(CREATE_LINK ${found} ${dir}/fonts/${file_name} SYMBOLIC)
    else()
      list(APPEND missing ${file_name})
    endif()
  endforeach()
  if(missing)
    list(JOIN missing ", " missing)
    list(JOIN ARG_PACKAGES " " packages)
    message(WARNING "Font setup ${name} lacks ${missing}: install ${packages}")
    add_test(NAME FontSetup.${name}
             COMMAND sh -c "echo 'Font setup ${name} lacks ${missing}: install ${packages}'; exit 1")
    return()
  endif()

  set(prefer "")
  foreach(family IN LISTS ARG_PREFER)
    string(APPEND prefer "      <family>${family}</family>\n")
  endforeach()
  file(WRITE ${dir}/fonts.conf
"<?xml version=\"1.0\"?>
<!DOCTYPE fontconfig SYSTEM \"urn:fontconfig:fonts.dtd\">
<fontconfig>
  <dir>${dir}/fonts</dir>
  <cachedir>${dir}/cache</cachedir>
  <alias><family>sans</family><default><family>sans-serif</family></default></alias>
  <alias><family>Sans Serif</family><default><family>sans-serif</family></default></alias>
  <!-- A face the setup lacks is drawn in the default sans-serif face. -->
  <match target=\"pattern\">
    <test qual=\"all\" name=\"family\" compare=\"not_eq\"><string>sans-serif</string></test>
    <test qual=\"all\" name=\"family\" compare=\"not_eq\"><string>serif</string></test>
    <test qual=\"all\" name=\"family\" compare=\"not_eq\"><string>monospace</string></test>
    <edit name=\"family\" mode=\"append_last\"><string>sans-serif</string></edit>
  </match>
  <alias>
    <family>sans-serif</family>
    <prefer>
${prefer}    </prefer>
  </alias>
  <alias><family>serif</family><prefer><family>DejaVu Serif</family></prefer></alias>
  <alias><family>monospace</family><prefer><family>DejaVu Sans Mono</family></prefer></alias>
  <match target=\"font\">
    <edit name=\"antialias\" mode=\"assign\"><bool>true</bool></edit>
    <edit name=\"hinting\" mode=\"assign\"><bool>true</bool></edit>
    <edit name=\"hintstyle\" mode=\"assign\"><const>${ARG_HINTING}</const></edit>
  </match>
</fontconfig>
")
  set(TESSARYN_FONT_SETUPS ${TESSARYN_FONT_SETUPS} ${name} PARENT_SCOPE)
endfunction()

set(_dejavu DejaVuSans.ttf DejaVuSans-Bold.ttf DejaVuSansMono.ttf DejaVuSansMono-Bold.ttf
            DejaVuSerif.ttf DejaVuSerif-Bold.ttf)
# What .ci/run installs.
tessaryn_font_setup(dejavu PACKAGES fonts-dejavu-core PREFER "DejaVu Sans" FILES ${_dejavu})
# The same, hinted in full, as a desktop may be set to.
tessaryn_font_setup(dejavu-hintfull PACKAGES fonts-dejavu-core PREFER "DejaVu Sans"
                    FILES ${_dejavu} HINTING hintfull)
# Plasma's face, with a face for Chinese, Japanese and Korean.
tessaryn_font_setup(noto-cjk PACKAGES fonts-dejavu-core fonts-noto-core fonts-droid-fallback
                    PREFER "Noto Sans" "DejaVu Sans" "Droid Sans Fallback"
                    FILES ${_dejavu} NotoSans-Regular.ttf NotoSans-Bold.ttf NotoSans-Italic.ttf
                          NotoSans-BoldItalic.ttf DroidSansFallbackFull.ttf)
# GNOME's face.
tessaryn_font_setup(cantarell PACKAGES fonts-dejavu-core fonts-cantarell
                    PREFER Cantarell "DejaVu Sans"
                    FILES ${_dejavu} Cantarell-Regular.otf Cantarell-Bold.otf)

# Registers the tests of `target` that the GoogleTest filter picks once more under each font
# setup, named with "@<setup>" after the test's name. The screenshots they take go into a folder
# named after the setup (the folder of its fontconfig file). gtest_discover_tests gives a property
# one value only (it splits a list into separate arguments), hence one variable in ENVIRONMENT
# and one in ENVIRONMENT_MODIFICATION.
function(tessaryn_font_setup_tests target filter)
  foreach(setup IN LISTS TESSARYN_FONT_SETUPS)
    gtest_discover_tests(${target} DISCOVERY_TIMEOUT 60 TEST_FILTER ${filter}
                         TEST_SUFFIX "@${setup}"
                         PROPERTIES LABELS fonts
                         ENVIRONMENT "FONTCONFIG_FILE=${CMAKE_BINARY_DIR}/fontconfig/${setup}/fonts.conf"
                         ENVIRONMENT_MODIFICATION "QT_QPA_PLATFORM=set:offscreen")
  endforeach()
endfunction()
