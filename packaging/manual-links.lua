-- Links between the manual's Markdown chapters point at their HTML pages:
-- "chapter.md" and "chapter.md#section" become "chapter.html...". Links that
-- leave the manual (with a scheme) stay as they are.
function Link(link)
  if not link.target:match("^%a[%w+.-]*:") then
    link.target = link.target:gsub("%.md$", ".html"):gsub("%.md#", ".html#")
  end
  return link
end
